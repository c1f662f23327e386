# Sourced by the shell tests: a scratch installation for tarn.exe, laid out
# from the arguments every such test gets (the Wine wrapper, its prefix,
# tarn.exe, the stand-in, a scratch folder).
#
#   lay_out_install NAME INI   $folder (scratch/NAME) afresh, with $vss/BIN/tarn.exe,
#                              $vss/BIN/ss.exe and $vss/srcsafe.ini (INI, a printf format)
#   register_database NAME [FOLDER]
#                              a database NAME for FOLDER (C:\Shared) in the prefix's registry
#   forget_database NAME       and its removal
#   windows PATH               a Linux path as Wine shows it (Z:\...)
wine_run=$1 prefix=$2 tarn=$3 standin=$4 scratch=$5
databases='HKCU\Software\Microsoft\Sourcesafe\Databases'

lay_out_install() {
  folder="$scratch/$1"
  vss="$folder/VSS"
  rm -rf "$folder"
  mkdir -p "$vss/BIN"
  cp "$tarn" "$vss/BIN/tarn.exe"
  cp "$standin" "$vss/BIN/ss.exe"
  printf "$2" >"$vss/srcsafe.ini"
}

register_database() {
  "$wine_run" "$prefix" reg add "$databases" /v "$1" /t REG_SZ /d "${2:-C:\Shared}" /f </dev/null >/dev/null 2>&1
}

forget_database() {
  "$wine_run" "$prefix" reg delete "$databases" /v "$1" /f </dev/null >/dev/null 2>&1 || :
}

windows() {
  printf 'Z:%s' "$1" | tr / '\\'
}
