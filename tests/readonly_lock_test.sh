#!/bin/sh
# A user who may read the lock file srcsafe.ini.tarnlock but not write it:
# while a "-DB:" run has srcsafe.ini switched, the lock file is made immutable
# (which holds even for root), and a plain run started then must still take
# the lock, through a handle for reading: it waits for the switching run, and
# its SS.EXE sees the database srcsafe.ini names, never the switched one.
# Skipped (77) where the file system has no immutable flag.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
. "$(dirname "$0")/shell_install.sh"

ini='[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n'
lock="$scratch/readonly_lock/VSS/srcsafe.ini.tarnlock"
[ -e "$lock" ] && chattr -i "$lock" 2>/dev/null || :
lay_out_install readonly_lock "$ini"
register_database TarnReadOnlyLock

switching_pid=''
cleanup() {
  [ -z "$switching_pid" ] || kill "$switching_pid" 2>/dev/null || :
  chattr -i "$lock" 2>/dev/null || :
  rm -rf "$folder"
  forget_database TarnReadOnlyLock
}
trap cleanup EXIT

# waitfor FILE: true once FILE exists, false after 20 s.
waitfor() {
  for _ in $(seq 200); do [ -e "$1" ] && return 0; sleep 0.1; done
  return 1
}

# The switching run: its SS.EXE waits for the file "release".
STANDIN_RECORD=$(windows "$folder/switching") STANDIN_WAIT_FOR=$(windows "$folder/release") \
  "$wine_run" "$prefix" "$vss/BIN/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' -DB:TarnReadOnlyLock \
  </dev/null >"$folder/switching.out" 2>&1 &
switching_pid=$!
status=0
if ! waitfor "$folder/switching.cmdline"; then echo "the switching run did not start SS.EXE"; cat "$folder/switching.out"; exit 1; fi
if [ ! -e "$lock" ]; then echo "the switching run holds no lock file while its SS.EXE runs"; exit 1; fi
if ! chattr +i "$lock" 2>/dev/null; then
  echo "skipped: this file system cannot make a file immutable"
  touch "$folder/release"
  exit 77
fi

STANDIN_RECORD=$(windows "$folder/plain") \
  "$wine_run" "$prefix" "$vss/BIN/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\B.C' </dev/null >"$folder/plain.out" 2>&1 &
plain_pid=$!
sleep 2
if [ -e "$folder/plain.cmdline" ]; then echo "the plain run did not wait for the switching run"; status=1; fi
touch "$folder/release"
wait "$switching_pid" || :
switching_pid=''
wait "$plain_pid" || :

if ! grep -q 'Waiting for another run of tarn.exe to finish with srcsafe.ini' "$folder/plain.out"; then
  echo "the plain run did not say it waited:"; cat "$folder/plain.out"; status=1
fi
if ! grep -q 'data_path = c:\\vss\\data ' "$folder/plain.ini" 2>/dev/null; then
  echo "the plain run's SS.EXE saw:"; cat "$folder/plain.ini" 2>/dev/null || echo "(nothing: it did not run)"; status=1
fi
if ! grep -q 'data_path = c:\\shared\\data ' "$folder/switching.ini"; then echo "the switching run's SS.EXE did not see the other database"; status=1; fi
if grep -q 'interrupted run' "$folder/plain.out"; then echo "the plain run took the live run's record for a killed run's"; status=1; fi
if [ "$(od -An -c "$vss/srcsafe.ini" | tr -d ' \n')" != "$(printf '[General]\r\ndata_path = c:\\vss\\data \r\nUser = Ann\r\n' | od -An -c | tr -d ' \n')" ]; then
  echo "srcsafe.ini was not put back:"; cat "$vss/srcsafe.ini"; status=1
fi
[ $status -eq 0 ] && echo "lock file the user may not write: the plain run waited and saw the database srcsafe.ini names"
exit $status
