#!/bin/sh
# tarn.exe in a program folder deeper than 260 characters: its own path does not
# fit, so it says so and starts nothing. Run from the shell, since Wine starts
# programs from such folders only through its loader, not through CreateProcess.
# Arguments: the Wine wrapper, its prefix, tarn.exe, the stand-in, a scratch folder.
set -eu
wine_run=$1 prefix=$2 tarn=$3 standin=$4 scratch=$5

folder="$scratch/deep_folder"
rm -rf "$folder"
bin="$folder"
while [ ${#bin} -lt 300 ]; do bin="$bin/deeper_folder_name"; done
bin="$bin/VSS/BIN"
mkdir -p "$bin"
cp "$tarn" "$bin/tarn.exe"
cp "$standin" "$bin/ss.exe"
record="Z:$(printf '%s' "$folder/call" | tr / '\\')"

output=$(STANDIN_RECORD="$record" "$wine_run" "$prefix" "$bin/tarn.exe" 'C:\DEV\SRC' checkout 'C:\DEV\SRC\A.C' -LOG </dev/null | tr -d '\r')
status=0
last=$(printf '%s\n' "$output" | tail -n 1)
if [ "$last" != "Could not find directory to TARN.EXE" ]; then echo "last line: $last"; status=1; fi
if printf '%s\n' "$output" | grep -q '^Running:'; then echo "a launch was tried"; status=1; fi
if [ -e "$folder/call.cmdline" ]; then echo "the stand-in ran"; status=1; fi
if [ -e "$bin/tarnlog.xml" ]; then echo "a log was written"; status=1; fi
rm -rf "$folder"
exit $status
