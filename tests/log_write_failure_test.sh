#!/bin/sh
# "-LOG" where the log cannot be written whole: tarn.exe runs with a file size
# limit (ulimit -f, with SIGXFSZ ignored, so a write past it fails as on a full
# disk). The cut log must be removed, not left to pass for a whole one, and the
# run goes on as usual. Two sizes: a log larger than the C runtime's buffer
# (the write itself fails) and a smaller one (only the close, which writes the
# buffer out, fails). Each is first written without the limit, so the test
# knows the whole log and that a log was wanted.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
wine_run=$1 prefix=$2 tarn=$3 standin=$4 scratch=$5

folder="$scratch/log_write_failure"
bin="$folder/VSS/BIN"
log="$bin/tarnlog.xml"
rm -rf "$folder"
mkdir -p "$bin"
cp "$tarn" "$bin/tarn.exe"
cp "$standin" "$bin/ss.exe"
printf 'Data_Path = C:\\VSS\\Data\r\n' >"$folder/VSS/srcsafe.ini"
trap 'rm -rf "$folder"' EXIT

# run_tarn LIMIT SWITCH: a checkout with -LOG; LIMIT is a size in 512-byte
# blocks or "unlimited". Prints what the user saw, without CRs.
run_tarn() {
  (
    trap '' XFSZ
    ulimit -f "$1"
    "$wine_run" "$prefix" "$bin/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' "$2" -LOG </dev/null
  ) | tr -d '\r'
}

long_switch="-X$(printf '%04000d' 0)"
status=0
# case: name, switch, whether the log is larger than the runtime's 4096-byte buffer
for case in "larger-than-buffer $long_switch yes" "smaller-than-buffer -GWR no"; do
  set -- $case
  name=$1 switch=$2 large=$3

  rm -f "$log"
  run_tarn unlimited "$switch" >/dev/null
  size=$(wc -c <"$log" 2>/dev/null || echo 0)
  if [ "$size" -le 512 ] || { [ "$large" = yes ] && [ "$size" -le 4096 ]; } ||
    { [ "$large" = no ] && [ "$size" -ge 4096 ]; } || [ "$(tail -c 8 "$log" | tr -d '\r')" != '</Log>' ]; then
    echo "$name: the log without a limit is not what the case needs ($size bytes)"
    status=1
    continue
  fi

  # The whole log of the last run stays in place: it must not survive as this run's log either.
  output=$(run_tarn 1 "$switch")
  if [ -e "$log" ]; then
    echo "$name: a log was left after a failed write ($(wc -c <"$log") of $size bytes)"
    status=1
  fi
  if ! printf '%s\n' "$output" | grep -q '^Running: .*ss\.exe" checkout "\$/A\.C"'; then
    printf '%s: the run did not go on as usual; output:\n%s\n' "$name" "$output"
    status=1
  fi
done
[ $status -eq 0 ] && echo "a log that cannot be written whole is removed; the run goes on"
exit $status
