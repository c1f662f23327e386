#!/bin/sh
# srcsafe.ini in a folder that takes no new file (made immutable, which holds
# even for root): no lock file, record or temporary file can be made beside
# it. A plain run goes ahead unguarded; a "-DB:" run, which would switch
# srcsafe.ini without a record that a later run could put back, is refused
# with the reason, starts no SS.EXE and leaves srcsafe.ini byte for byte.
# Skipped (77) where the file system has no immutable flag.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
. "$(dirname "$0")/shell_install.sh"

ini='[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n'
[ -d "$scratch/readonly_folder/VSS" ] && chattr -i "$scratch/readonly_folder/VSS" 2>/dev/null || :
lay_out_install readonly_folder "$ini"
register_database TarnReadOnlyFolder

cleanup() {
  chattr -i "$vss" 2>/dev/null || :
  rm -rf "$folder"
  forget_database TarnReadOnlyFolder
}
trap cleanup EXIT
if ! chattr +i "$vss" 2>/dev/null; then
  echo "skipped: this file system cannot make a folder immutable"
  exit 77
fi

record=$(windows "$folder/call")
ss_path=$(windows "$vss/BIN/ss.exe")
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
