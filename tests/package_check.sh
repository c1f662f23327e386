#!/bin/sh
# Checks the release packages that scripts/package makes.
#
#   tests/package_check.sh ZIP64 ZIP32
#
# Each package must hold exactly tarn.exe and INSTALL.txt, its tarn.exe must be
# built for its architecture, import only system DLLs and carry the version of
# CMakeLists.txt in its version resource. The 64-bit tarn.exe is also run: it is
# unpacked into a scratch installation (VSS\BIN\tarn.exe, the stand-in SS.EXE as
# VSS\BIN\ss.exe, VSS\srcsafe.ini) and runs a checkout under Wine in a private
# prefix. The 32-bit one cannot run on these machines and is only inspected.
#
# The stand-in is taken from $STANDIN_EXE, by default build/mingw-x64/ss_standin.exe.
# Exits non-zero when any check fails.
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 ZIP64 ZIP32" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
zip64=$1
zip32=$2
standin=${STANDIN_EXE:-$here/build/mingw-x64/ss_standin.exe}

for tool in unzip wine wineserver x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump \
            x86_64-w64-mingw32-windres i686-w64-mingw32-windres; do
  command -v "$tool" >/dev/null 2>&1 || { echo "package_check: $tool is missing (scripts/setup-debian)" >&2; exit 2; }
done
for file in "$zip64" "$zip32" "$standin"; do
  [ -f "$file" ] || { echo "package_check: no such file: $file" >&2; exit 2; }
done

# The version, from the one place it is written.
major=$(sed -n 's/^set(TARN_VERSION_MAJOR \([0-9][0-9]*\))$/\1/p' "$here/CMakeLists.txt")
minor=$(sed -n 's/^set(TARN_VERSION_MINOR \([0-9][0-9]*\))$/\1/p' "$here/CMakeLists.txt")
if [ -z "$major" ] || [ -z "$minor" ]; then
  echo "package_check: no version found in CMakeLists.txt" >&2
  exit 2
fi
version="$major.$minor"
version_re=$(printf '%s' "$version" | sed 's/\./\\./g')
version_numbers="$(expr "$major" + 0), $(expr "$minor" + 0), 0, 0"

passed=0
failed=0
pass() {
  passed=$((passed + 1))
  printf 'PASS: %s\n' "$1"
}
# fail WHAT [DETAIL...]
fail() {
  failed=$((failed + 1))
  printf 'FAIL: %s\n' "$1"
  shift
  for line in "$@"; do
    printf '      %s\n' "$line"
  done
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarn-package-check.XXXXXX")
scratch=$(cd -P "$scratch" && pwd)
export WINEPREFIX="$scratch/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_started=""
cleanup() {
  if [ -n "$wine_started" ]; then
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A path of this machine as Wine shows it to the program: /a/b is Z:\a\b.
windows_path() {
  printf 'Z:%s' "$1" | sed 's|/|\\|g'
}

# --- What each package holds -----------------------------------------------

# check_package ZIP ARCH OBJDUMP WINDRES PE_FORMAT
check_package() {
  zip=$1 arch=$2 objdump=$3 windres=$4 format=$5
  name=$(basename "$zip")
  dir="$scratch/unpacked-$arch"
  mkdir -p "$dir"

  if [ "$name" = "tarn-$version-$arch.zip" ]; then
    pass "$name: named for version $version and $arch"
  else
    fail "$name: the name should be tarn-$version-$arch.zip"
  fi

  entries=$(unzip -Z1 "$zip" 2>&1 | LC_ALL=C sort | tr '\n' ' ')
  if [ "$entries" = "INSTALL.txt tarn.exe " ]; then
    pass "$name: holds exactly tarn.exe and INSTALL.txt"
  else
    fail "$name: should hold exactly tarn.exe and INSTALL.txt" "holds: $entries"
  fi

  if ! unzip -q -o "$zip" tarn.exe INSTALL.txt -d "$dir" >/dev/null 2>&1 || [ ! -f "$dir/tarn.exe" ]; then
    fail "$name: tarn.exe cannot be unpacked"
    return
  fi
  exe="$dir/tarn.exe"

  headers=$("$objdump" -p "$exe" 2>&1)
  dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr -d '\r')
  unexpected=""
  for dll in $dlls; do
    case $(printf '%s' "$dll" | tr '[:lower:]' '[:upper:]') in
      KERNEL32.DLL | ADVAPI32.DLL | MSVCRT.DLL | USER32.DLL | SHELL32.DLL) ;;
      *) unexpected="$unexpected $dll" ;;
    esac
  done
  dll_list=$(printf '%s\n' "$dlls" | tr '\n' ' ' | sed 's/ *$//')
  file_format=$(printf '%s\n' "$headers" | sed -n 's/.*file format //p' | head -n 1)
  if [ "$file_format" != "$format" ]; then
    fail "$name: tarn.exe should be $format" "is: $file_format"
  elif ! printf '%s\n' "$dlls" | grep -qix 'KERNEL32.dll'; then
    fail "$name: no import of KERNEL32.dll found in tarn.exe" "imports: $dll_list"
  elif [ -n "$unexpected" ]; then
    fail "$name: tarn.exe imports DLLs that are not part of Windows" "not system DLLs:$unexpected"
  else
    pass "$name: tarn.exe is $format and imports only system DLLs ($dll_list)"
  fi

  resources=$("$windres" --input "$exe" --output-format=rc 2>&1)
  missing=""
  for pattern in "^ *FILEVERSION $version_numbers\$" "^ *PRODUCTVERSION $version_numbers\$" \
                 "^ *VALUE \"FileVersion\", \"$version_re\"\$" "^ *VALUE \"ProductVersion\", \"$version_re\"\$"; do
    printf '%s\n' "$resources" | grep -Eq "$pattern" || missing="$missing [$pattern]"
  done
  if [ -z "$missing" ]; then
    pass "$name: version resource gives file and product version $version"
  else
    fail "$name: version resource lacks file or product version $version" "missing:$missing" \
         "$(printf '%s\n' "$resources" | grep -E 'VERSION|Version' | tr '\n' ' ')"
  fi

  # Read with Notepad on Windows: CR LF line ends, and the version filled in.
  text="$dir/INSTALL.txt"
  lines=$(wc -l <"$text")
  crlf_lines=$(grep -c "$(printf '\r')\$" "$text")
  if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf_lines" ] && grep -q "Tarn $version_re " "$text" && ! grep -q '@' "$text"; then
    pass "$name: INSTALL.txt is Windows text for version $version"
  else
    fail "$name: INSTALL.txt should have CR LF line ends and name version $version" \
         "lines: $lines, with CR LF: $crlf_lines"
  fi
}

check_package "$zip64" win64 x86_64-w64-mingw32-objdump x86_64-w64-mingw32-windres pei-x86-64
check_package "$zip32" win32 i686-w64-mingw32-objdump i686-w64-mingw32-windres pei-i386

# --- The 64-bit package, installed and run ------------------------------------

install="$scratch/install"
mkdir -p "$install/VSS/BIN" "$install/work/proj"
unzip -q -o "$zip64" tarn.exe -d "$install/VSS/BIN" >/dev/null 2>&1
cp "$standin" "$install/VSS/BIN/ss.exe"
printf '; srcsafe.ini of the package check\r\nData_Path = \\\\server\\vss\\data\r\nTemp_Path = c:\\temp\r\n' \
  >"$install/VSS/srcsafe.ini"
cp "$install/VSS/srcsafe.ini" "$scratch/srcsafe.ini.before"
printf 'int main() { return 0; }\n' >"$install/work/proj/hello.cpp"

# A persistent wineserver and a warmed-up prefix, every standard stream on
# /dev/null: Wine's service processes would otherwise hold our pipes open.
mkdir -p "$WINEPREFIX"
wine_started=yes
wineserver -p60 </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

win_install=$(windows_path "$install")
root="$win_install\\work"
(
  cd "$install/work" &&
    STANDIN_RECORD="$win_install\\call" wine "$install/VSS/BIN/tarn.exe" "$root" checkout "$root\\proj\\hello.cpp" -GWR \
      </dev/null >"$scratch/stdout.txt" 2>"$scratch/stderr.txt"
)
status=$?
tr -d '\r' <"$scratch/stdout.txt" >"$scratch/stdout.lf"

expected_cmdline="\"$win_install\\VSS\\BIN\\ss.exe\" checkout \"\$/proj/hello.cpp\" -GWR -I- -C- -NL"
running=$(grep '^Running: ' "$scratch/stdout.lf")
if [ "$status" -eq 0 ] && grep -qxF "Tarn - SourceSafe command launcher for editors (ver. $version)" "$scratch/stdout.lf" &&
  [ "$running" = "Running: $expected_cmdline" ]; then
  pass "installed win64 tarn.exe runs a checkout: $running"
else
  fail "installed win64 tarn.exe should show its banner and run the stand-in" \
       "exit status: $status" "expected: Running: $expected_cmdline" "output:" \
       "$(cat "$scratch/stdout.lf")" "errors: $(head -c 2000 "$scratch/stderr.txt")"
fi

recorded=""
[ -f "$install/call.cmdline" ] && recorded=$(cat "$install/call.cmdline")
if [ "$recorded" = "$expected_cmdline" ] && cmp -s "$install/call.ini" "$scratch/srcsafe.ini.before" &&
  cmp -s "$install/VSS/srcsafe.ini" "$scratch/srcsafe.ini.before"; then
  pass "the stand-in got that command line and saw srcsafe.ini one folder up, left as it was"
else
  fail "the stand-in should get the command line shown and see srcsafe.ini unchanged" \
       "recorded: $recorded" "expected: $expected_cmdline" \
       "srcsafe.ini as the stand-in saw it: $(tr -d '\r' 2>/dev/null <"$install/call.ini" | tr '\n' '|')" \
       "srcsafe.ini after the run: $(tr -d '\r' <"$install/VSS/srcsafe.ini" | tr '\n' '|')"
fi

printf 'package_check: %d passed, %d failed\n' "$passed" "$failed"
[ "$failed" -eq 0 ]
