#!/bin/sh
# Checks the release packages that scripts/package makes.
#
#   tests/package_check.sh ZIP64 ZIP32
#
# Each package must hold exactly tarn.exe, INSTALL.txt, ADMINISTRATORS.txt,
# EDITORS.txt, TROUBLESHOOTING.txt and LICENSE.txt, in sorted order and all
# with one time; the texts are Windows text (CR LF) made from their sources; its
# tarn.exe must be built for its architecture, import only system DLLs, carry
# the version of CMakeLists.txt and the support contact in its version resource
# and the application manifest, and hold no path of the build machine. Both
# packages must name one contact. SHA256SUMS beside the zips must fit them.
# Both packages are then made again by scripts/package, with that contact, from
# a clean build in another folder, and must come out byte for byte the same.
# The 64-bit tarn.exe is also run: it is unpacked into a scratch installation
# (VSS\BIN\tarn.exe, the stand-in SS.EXE as VSS\BIN\ss.exe, VSS\srcsafe.ini)
# and runs a checkout under Wine in a private prefix, and without arguments
# shows its contact in the banner and the usage text; so does a 64-bit package
# made with another contact. The 32-bit one cannot run on these machines and
# is only inspected.
#
# The stand-in is taken from $STANDIN_EXE, by default build/mingw-x64/ss_standin.exe.
# Exits non-zero when any check fails. CTest runs it as Package.Check (label package).
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 ZIP64 ZIP32" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
zip64=$1
zip32=$2
standin=${STANDIN_EXE:-$here/build/mingw-x64/ss_standin.exe}

for tool in unzip zip sha256sum wine wineserver x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump \
            x86_64-w64-mingw32-windres i686-w64-mingw32-windres; do
  command -v "$tool" >/dev/null 2>&1 || { echo "package_check: $tool is missing (scripts/setup-debian)" >&2; exit 2; }
done
for file in "$zip64" "$zip32" "$standin"; do
  [ -f "$file" ] || { echo "package_check: no such file: $file (scripts/package makes the packages)" >&2; exit 2; }
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

  # The stored order, not sorted here: scripts/package stores them sorted.
  entries=$(unzip -Z1 "$zip" 2>&1 | tr '\n' ' ')
  if [ "$entries" = "$expected_entries" ]; then
    pass "$name: holds exactly $expected_entries(in that order)"
  else
    fail "$name: should hold exactly $expected_entries(in that order)" "holds: $entries"
  fi

  times=$(unzip -Z -T "$zip" 2>/dev/null | grep -E '^[-dlrwxsStT]{10} ' | awk '{ print $7 }' | sort -u)
  if [ "$(printf '%s\n' "$times" | grep -c .)" -eq 1 ]; then
    pass "$name: every file has the same time ($times)"
  else
    fail "$name: the files should all have one time" "times: $(printf '%s' "$times" | tr '\n' ' ')"
  fi

  if ! unzip -q -o "$zip" -d "$dir" >/dev/null 2>&1 || [ ! -f "$dir/tarn.exe" ]; then
    fail "$name: cannot be unpacked"
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
  # The contact, as windres shows it (each backslash doubled); the one place a
  # package says whom it sends users to, so the rebuild below takes it from here.
  shown=$(printf '%s\n' "$resources" | sed -n 's/^ *VALUE "Comments", "Technical support: \(.*\)"$/\1/p')
  if [ -n "$shown" ]; then
    contact=$(printf '%s' "$shown" | sed 's/\\\\/\\/g')
    contacts="$contacts$contact
"
    pass "$name: version resource comments name the support contact: $contact"
  else
    fail "$name: version resource comments should read \"Technical support: <contact>\"" \
         "$(printf '%s\n' "$resources" | grep -E 'VALUE' | tr '\n' ' ')"
  fi

  # The manifest: run as the caller (no elevation, no file virtualisation), on Windows 7 to 11.
  manifest=$(printf '%s\n' "$resources" | sed -n '/^1 24 /,/^END/p')
  missing=""
  for pattern in 'requestedExecutionLevel level=""asInvoker""' \
                 '35138b9a-5d96-4fbd-8e2d-a2440225f93a' '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38' \
                 '1f676c76-80e1-4239-95bb-83d0f6d0da78' '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    printf '%s\n' "$manifest" | grep -qF "$pattern" || missing="$missing [$pattern]"
  done
  if [ -z "$manifest" ]; then
    fail "$name: tarn.exe has no application manifest (resource 1 of type 24)"
  elif [ -n "$missing" ]; then
    fail "$name: the manifest of tarn.exe lacks asInvoker or a supported OS" "missing:$missing"
  else
    pass "$name: tarn.exe has its manifest: asInvoker, Windows 7, 8, 8.1 and 10/11"
  fi

  if grep -qF "$here" "$exe"; then
    fail "$name: tarn.exe holds the build machine's path $here"
  else
    pass "$name: tarn.exe holds no path of the build machine"
  fi

  # Read with Notepad on Windows: CR LF line ends, and the version filled in.
  text="$dir/INSTALL.txt"
  lines=$(wc -l <"$text")
  crlf_lines=$(grep -c "$(printf '\r')\$" "$text")
  if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf_lines" ] && grep -q "Tarn $version_re " "$text" && ! grep -q '@[A-Z_]*@' "$text"; then
    pass "$name: INSTALL.txt is Windows text for version $version"
  else
    fail "$name: INSTALL.txt should have CR LF line ends and name version $version" \
         "lines: $lines, with CR LF: $crlf_lines"
  fi

  # The other texts: their sources, with CR LF line ends and the links
  # between them naming the files of the package.
  for pair in LICENSE.txt:LICENSE ADMINISTRATORS.txt:docs/administrators.md EDITORS.txt:docs/editors.md \
              TROUBLESHOOTING.txt:docs/troubleshooting.md; do
    shipped=${pair%%:*} source=${pair#*:}
    if [ -f "$dir/$shipped" ] && [ -s "$here/$source" ] &&
      tr -d '\r' <"$here/$source" |
      sed 's/$/\r/; s/](administrators\.md/](ADMINISTRATORS.txt/g; s/](editors\.md/](EDITORS.txt/g' |
      sed 's/](troubleshooting\.md/](TROUBLESHOOTING.txt/g' |
      cmp -s - "$dir/$shipped"; then
      pass "$name: $shipped is $source with CR LF line ends and the package's file names in its links"
    else
      fail "$name: $shipped should be $source with CR LF line ends and the package's file names in its links"
    fi
  done

  # The texts stand alone: every link leads to a web page, to a part of the
  # same text or to a file of the package, and no text names a source file.
  broken=""
  for text in "$dir"/*.txt; do
    for target in $(grep -o '](\([^)]*\))' "$text" | sed 's/^](//; s/)$//'); do
      case $target in
        http://* | https://* | mailto:* | \#*) ;;
        *) [ -f "$dir/${target%%#*}" ] || broken="$broken $(basename "$text"):$target" ;;
      esac
    done
    grep -qE '[A-Za-z0-9_-]\.md\b' "$text" && broken="$broken $(basename "$text"):$(grep -oE '[A-Za-z0-9_-]+\.md\b' "$text" | head -n 1)"
  done
  if [ -z "$broken" ]; then
    pass "$name: every link in its texts leads to a file of the package, and none names a .md file"
  else
    fail "$name: its texts link to, or name, files that are not in the package" "$broken"
  fi
  if grep -q "^Copyright (c) 2026 The Tarn project$(printf '\r')\$" "$dir/LICENSE.txt" 2>/dev/null &&
    grep -q '^MIT License' "$dir/LICENSE.txt"; then
    pass "$name: LICENSE.txt is the MIT licence of the Tarn project"
  else
    fail "$name: LICENSE.txt should be the MIT licence, Copyright (c) 2026 The Tarn project"
  fi
}

expected_entries="ADMINISTRATORS.txt EDITORS.txt INSTALL.txt LICENSE.txt TROUBLESHOOTING.txt tarn.exe "
contacts=""
check_package "$zip64" win64 x86_64-w64-mingw32-objdump x86_64-w64-mingw32-windres pei-x86-64
check_package "$zip32" win32 i686-w64-mingw32-objdump i686-w64-mingw32-windres pei-i386
contact=$(printf '%s' "$contacts" | head -n 1)
if [ "$(printf '%s' "$contacts" | sort -u | grep -c .)" -eq 1 ]; then
  pass "both packages name one support contact"
else
  fail "both packages should name one support contact" "$(printf '%s' "$contacts" | tr '\n' '|')"
fi

# --- Checksums -----------------------------------------------------------------

sums="$(dirname "$zip64")/SHA256SUMS"
listed=$(sed -n 's/^[0-9a-f]\{64\}  //p' "$sums" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
wanted=$(printf '%s\n' "$(basename "$zip64")" "$(basename "$zip32")" | LC_ALL=C sort | tr '\n' ' ')
if [ "$(dirname "$zip64")" = "$(dirname "$zip32")" ] && [ "$listed" = "$wanted" ] &&
  (cd "$(dirname "$zip64")" && sha256sum -c --quiet SHA256SUMS >/dev/null 2>&1); then
  pass "SHA256SUMS beside the packages gives the checksums of both"
else
  fail "SHA256SUMS beside the packages should give the checksums of both" "lists: $listed"
fi

# --- The same bytes from a clean build elsewhere --------------------------------

# Only tarn.exe is built (scripts/package builds no more); in a folder of
# another name and depth than the one the packages were made in.
rebuild="$scratch/another/build/folder"
if TARN_SKIP_SETUP=1 "$here/scripts/package" --build-root "$rebuild" --dist "$scratch/dist" --contact "$contact" \
  mingw-x64 mingw-x86 >"$scratch/rebuild.log" 2>&1; then
  for zip in "$zip64" "$zip32"; do
    again="$scratch/dist/$(basename "$zip")"
    if cmp -s "$zip" "$again"; then
      pass "$(basename "$zip"): a clean build in another folder gives the same bytes"
    else
      rm -rf "$scratch/first" "$scratch/second"
      unzip -q "$zip" -d "$scratch/first" 2>/dev/null
      unzip -q "$again" -d "$scratch/second" 2>/dev/null
      fail "$(basename "$zip"): a clean build in another folder gives other bytes" \
           "$(diff -r "$scratch/first" "$scratch/second" 2>&1 | head -n 5)"
    fi
  done
else
  fail "scripts/package failed on a clean build in another folder" "$(tail -n 20 "$scratch/rebuild.log")"
fi

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

# --- The support contact, in the banner and the usage text ---------------------

# check_contact EXE INSTALL_TXT CONTACT WHAT: EXE, started without arguments
# from the scratch installation's BIN folder, names CONTACT in its banner, its
# usage text and its version resource, and the package's INSTALL.txt names it.
check_contact() {
  cp "$1" "$install/VSS/BIN/contact.exe"
  (cd "$install/work" && wine "$install/VSS/BIN/contact.exe" </dev/null 2>/dev/null) | tr -d '\r' >"$scratch/contact.lf"
  rm -f "$install/VSS/BIN/contact.exe"
  comments=$(x86_64-w64-mingw32-windres --input "$1" --output-format=rc 2>/dev/null |
    sed -n 's/^ *VALUE "Comments", "\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
  tab=$(printf '\t')
  if grep -qxF "$tab${tab}Technical support: $3" "$scratch/contact.lf" &&
    grep -qxF "$tab               to $3 for technical support" "$scratch/contact.lf" &&
    [ "$comments" = "Technical support: $3" ] && grep -qF "Technical support for this package: $3 (" "$2"; then
    pass "$4 names its contact in the banner, the usage text, the version resource and INSTALL.txt: $3"
  else
    fail "$4 should name \"$3\" in the banner, the usage text, the version resource and INSTALL.txt" \
         "version resource comments: $comments" "INSTALL.txt: $(grep -F 'Technical support' "$2")" "output:" \
         "$(cat "$scratch/contact.lf")"
  fi
}

check_contact "$install/VSS/BIN/tarn.exe" "$scratch/unpacked-win64/INSTALL.txt" "$contact" "the packaged win64 tarn.exe"

# Another contact, a backslash and a comma in it, through scripts/package.
other='Helpdesk \\corp\tarn, ext. 4711'
if TARN_SKIP_SETUP=1 "$here/scripts/package" --build-root "$scratch/contact/build" --dist "$scratch/contact/dist" \
  --contact "$other" mingw-x64 >"$scratch/contact.log" 2>&1 &&
  unzip -q -o "$scratch/contact/dist/$(basename "$zip64")" tarn.exe INSTALL.txt -d "$scratch/contact" \
    >/dev/null 2>&1; then
  check_contact "$scratch/contact/tarn.exe" "$scratch/contact/INSTALL.txt" "$other" "a win64 package made with --contact"
else
  fail "scripts/package --contact failed" "$(tail -n 20 "$scratch/contact.log")"
fi

printf 'package_check: %d passed, %d failed\n' "$passed" "$failed"
[ "$failed" -eq 0 ]
