#!/bin/sh
# A "-DB:" run where nothing can be created beside srcsafe.ini (its folder is
# made immutable, which holds even for root): no lock file, no record and no
# temporary file, so the run goes unguarded, rewrites srcsafe.ini in place and
# prints nothing new. Skipped (77) where the file system has no immutable flag.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
wine_run=$1 prefix=$2 tarn=$3 standin=$4 scratch=$5

folder="$scratch/readonly_folder"
vss="$folder/VSS"
[ -d "$vss" ] && chattr -i "$vss" 2>/dev/null || :
rm -rf "$folder"
mkdir -p "$vss/BIN"
cp "$tarn" "$vss/BIN/tarn.exe"
cp "$standin" "$vss/BIN/ss.exe"
printf '[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n' >"$vss/srcsafe.ini"
key='HKCU\Software\Microsoft\Sourcesafe\Databases'
"$wine_run" "$prefix" reg add "$key" /v TarnReadOnlyFolder /t REG_SZ /d 'C:\Shared' /f </dev/null >/dev/null 2>&1

cleanup() {
  chattr -i "$vss" 2>/dev/null || :
  rm -rf "$folder"
  "$wine_run" "$prefix" reg delete "$key" /v TarnReadOnlyFolder /f </dev/null >/dev/null 2>&1 || :
}
trap cleanup EXIT
if ! chattr +i "$vss" 2>/dev/null; then
  echo "skipped: this file system cannot make a folder immutable"
  exit 77
fi

record="Z:$(printf '%s' "$folder/call" | tr / '\\')"
output=$(STANDIN_RECORD="$record" "$wine_run" "$prefix" "$vss/BIN/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' -DB:TarnReadOnlyFolder </dev/null | tr -d '\r')

status=0
after_banner=$(printf '%s\n' "$output" | sed -n '5,$p')
ss_path="Z:$(printf '%s' "$vss/BIN/ss.exe" | tr / '\\')"
expected="Running: \"$ss_path\" checkout \"\$/A.C\" -I- -C- -NL"
if [ "$after_banner" != "$expected" ]; then printf 'output after the banner:\n%s\n' "$after_banner"; status=1; fi
if ! grep -q 'data_path = c:\\shared\\data ' "$folder/call.ini"; then echo "SS.EXE did not see the other database"; status=1; fi
if [ "$(od -An -c "$vss/srcsafe.ini" | tr -d ' \n')" != "$(printf '[General]\r\ndata_path = c:\\vss\\data \r\nUser = Ann\r\n' | od -An -c | tr -d ' \n')" ]; then
  echo "srcsafe.ini was not put back:"; cat "$vss/srcsafe.ini"; status=1
fi
if [ "$(ls -A "$vss")" != "$(printf 'BIN\nsrcsafe.ini')" ]; then echo "files beside srcsafe.ini: $(ls -A "$vss")"; status=1; fi
[ $status -eq 0 ] && echo "read-only folder: run unguarded, switched in place and back"
exit $status
