#!/bin/sh
# srcsafe.ini in a folder that takes no new file (made immutable, which holds
# even for root): no lock file, record or temporary file can be made beside
# it. A plain run goes ahead unguarded; a "-DB:" run, which would switch
# srcsafe.ini without a record that a later run could put back, is refused
# with the reason, starts no SS.EXE and leaves srcsafe.ini byte for byte.
# Skipped (77) where the file system has no immutable flag.
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
ini='[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n'
printf "$ini" >"$vss/srcsafe.ini"
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
ss_path="Z:$(printf '%s' "$vss/BIN/ss.exe" | tr / '\\')"
# run ARGUMENT...: tarn.exe's output after the banner, without CRs.
run() {
  STANDIN_RECORD="$record" "$wine_run" "$prefix" "$vss/BIN/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' "$@" </dev/null |
    tr -d '\r' | sed -n '5,$p'
}
status=0

output=$(run)
expected="Running: \"$ss_path\" checkout \"\$/A.C\" -I- -C- -NL"
if [ "$output" != "$expected" ]; then printf 'plain run, output after the banner:\n%s\n' "$output"; status=1; fi
if [ ! -e "$folder/call.cmdline" ]; then echo "plain run: SS.EXE did not run"; status=1; fi
rm -f "$folder/call."*

output=$(run -DB:TarnReadOnlyFolder)
expected="Could not switch srcsafe.ini to data_path = c:\\shared\\data.
The record of the switch, srcsafe.ini.tarnrestore, could not be written: "
case "$output" in
  "$expected"?*) ;;
  *) printf -- '-DB: run, output after the banner:\n%s\n' "$output"; status=1 ;;
esac
if [ -e "$folder/call.cmdline" ]; then echo "-DB: run: SS.EXE ran"; status=1; fi
if [ "$(od -An -c "$vss/srcsafe.ini" | tr -d ' \n')" != "$(printf "$ini" | od -An -c | tr -d ' \n')" ]; then
  echo "srcsafe.ini changed:"; cat "$vss/srcsafe.ini"; status=1
fi
if [ "$(ls -A "$vss")" != "$(printf 'BIN\nsrcsafe.ini')" ]; then echo "files beside srcsafe.ini: $(ls -A "$vss")"; status=1; fi
[ $status -eq 0 ] && echo "folder that takes no new file: plain run unguarded, -DB: refused, srcsafe.ini untouched"
exit $status
