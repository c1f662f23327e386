#!/bin/sh
# srcsafe.ini in a folder that takes no new file (made immutable, which holds
# even for root): no lock file, record or temporary file can be made beside
# it. A plain run goes ahead unguarded; a "-DB:" run, which would switch
# srcsafe.ini without a record that a later run could put back, opens the
# database through SSDIR where its folder holds a srcsafe.ini, and is refused
# with the reason where it holds none. The same for an immutable srcsafe.ini
# in a folder that takes new files. srcsafe.ini stays byte for byte.
# Skipped (77) where the file system has no immutable flag.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
. "$(dirname "$0")/shell_install.sh"

ini='[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n'
other_ini='[General]\r\nData_Path = C:\\Other\\Data\r\n'
for path in "$scratch/readonly_folder/VSS" "$scratch/readonly_folder/VSS/srcsafe.ini"; do
  [ -e "$path" ] && chattr -i "$path" 2>/dev/null || :
done
lay_out_install readonly_folder "$ini"
mkdir -p "$folder/Other"
printf "$other_ini" >"$folder/Other/srcsafe.ini"
register_database TarnReadOnlyFolder
register_database TarnReadOnlyFolderOther "$(windows "$folder/Other")"

cleanup() {
  chattr -i "$vss" "$vss/srcsafe.ini" 2>/dev/null || :
  rm -rf "$folder"
  forget_database TarnReadOnlyFolder
  forget_database TarnReadOnlyFolderOther
}
trap cleanup EXIT
if ! chattr +i "$vss" 2>/dev/null; then
  echo "skipped: this file system cannot make a folder immutable"
  exit 77
fi

record=$(windows "$folder/call")
ss_path=$(windows "$vss/BIN/ss.exe")
running="Running: \"$ss_path\" checkout \"\$/A.C\" -I- -C- -NL"
# run ARGUMENT...: tarn.exe's output after the banner, without CRs.
run() {
  rm -f "$folder/call."*
  STANDIN_RECORD="$record" "$wine_run" "$prefix" "$vss/BIN/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' "$@" </dev/null |
    tr -d '\r' | sed -n '5,$p'
}
# same FILE FORMAT: the file holds exactly the bytes of the printf format.
same() {
  [ "$(od -An -c "$1" | tr -d ' \n')" = "$(printf "$2" | od -An -c | tr -d ' \n')" ]
}
status=0
# check WHAT: srcsafe.ini and the other database's as they were, nothing beside either.
check() {
  if ! same "$vss/srcsafe.ini" "$ini"; then echo "$1: srcsafe.ini changed:"; cat "$vss/srcsafe.ini"; status=1; fi
  if ! same "$folder/Other/srcsafe.ini" "$other_ini"; then echo "$1: the other srcsafe.ini changed"; status=1; fi
  if [ "$(ls -A "$vss")" != "$(printf 'BIN\nsrcsafe.ini')" ]; then echo "$1: beside srcsafe.ini: $(ls -A "$vss")"; status=1; fi
  if [ "$(ls -A "$folder/Other")" != "srcsafe.ini" ]; then echo "$1: beside the other: $(ls -A "$folder/Other")"; status=1; fi
}
# refused WHAT REASON ARGUMENT...: the switch refused with that reason (a prefix of it), SS.EXE not run.
refused() {
  what=$1 reason=$2
  shift 2
  output=$(run "$@")
  case "$output" in
    "Could not switch srcsafe.ini to data_path = c:\\shared\\data.
$reason"?*) ;;
    *) printf -- '%s: output after the banner:\n%s\n' "$what" "$output"; status=1 ;;
  esac
  if [ -e "$folder/call.cmdline" ]; then echo "$what: SS.EXE ran"; status=1; fi
  check "$what"
}
# direct WHAT: the database opened through SSDIR, srcsafe.ini not touched.
direct() {
  output=$(run -DB:TarnReadOnlyFolderOther)
  if [ "$output" != "$running" ]; then printf -- '%s: output after the banner:\n%s\n' "$1" "$output"; status=1; fi
  if [ "$(cat "$folder/call.datapath" 2>/dev/null)" != 'C:\Other\Data' ]; then
    echo "$1: SS.EXE did not open the other database"; status=1
  fi
  check "$1"
}

output=$(run)
if [ "$output" != "$running" ]; then printf 'plain run, output after the banner:\n%s\n' "$output"; status=1; fi
if [ ! -e "$folder/call.cmdline" ]; then echo "plain run: SS.EXE did not run"; status=1; fi
refused "folder that takes no new file" "The record of the switch, srcsafe.ini.tarnrestore, could not be written: " \
  -DB:TarnReadOnlyFolder
direct "folder that takes no new file"

chattr -i "$vss"
if chattr +i "$vss/srcsafe.ini" 2>/dev/null; then
  refused "srcsafe.ini that takes no change" "" -DB:TarnReadOnlyFolder
  direct "srcsafe.ini that takes no change"
fi
[ $status -eq 0 ] && echo "immutable folder and srcsafe.ini: plain run unguarded, -DB: through SSDIR or refused, srcsafe.ini untouched"
exit $status
