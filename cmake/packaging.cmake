# What the release package holds: tarn.exe (installed by its target) and the
# texts below, read on Windows, so with CR LF line ends. scripts/package
# installs a build into a folder and zips it, the same bytes on every run:
#
#   scripts/package        makes dist/tarn-<version>-win64.zip, ...-win32.zip and dist/SHA256SUMS
#
# The stand-in SS.EXE and the test and benchmark programs have no install
# rules, so they never get in.

# Documents as the package names them: a link between two of them leads to
# the file of the package, not to the one of the source tree.
set(TARN_PACKAGE_LINKS administrators.md=ADMINISTRATORS.txt editors.md=EDITORS.txt
                       troubleshooting.md=TROUBLESHOOTING.txt)

# tarn_package_text(SOURCE NAME): SOURCE, with CR LF line ends and its links
# renamed, as NAME in the package.
function(tarn_package_text source name)
  file(READ "${CMAKE_SOURCE_DIR}/${source}" TARN_PACKAGE_TEXT)
  foreach(link IN LISTS TARN_PACKAGE_LINKS)
    string(REPLACE "=" ";" link "${link}")
    list(GET link 0 from)
    list(GET link 1 to)
    string(REPLACE "](${from}" "](${to}" TARN_PACKAGE_TEXT "${TARN_PACKAGE_TEXT}")
  endforeach()
  string(REPLACE "\r\n" "\n" TARN_PACKAGE_TEXT "${TARN_PACKAGE_TEXT}")
  string(REPLACE "\n" "\r\n" TARN_PACKAGE_TEXT "${TARN_PACKAGE_TEXT}")
  # Written only when it changed; the text itself is not expanded.
  file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/package/${name}" CONTENT "@TARN_PACKAGE_TEXT@" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${source}")
  install(FILES "${CMAKE_BINARY_DIR}/package/${name}" DESTINATION .)
endfunction()

# INSTALL.txt has the version filled in.
configure_file("${CMAKE_SOURCE_DIR}/docs/INSTALL.txt" "${CMAKE_BINARY_DIR}/package/INSTALL.txt"
               @ONLY NEWLINE_STYLE CRLF)
install(FILES "${CMAKE_BINARY_DIR}/package/INSTALL.txt" DESTINATION .)
tarn_package_text(docs/administrators.md ADMINISTRATORS.txt)
tarn_package_text(docs/editors.md EDITORS.txt)
tarn_package_text(docs/troubleshooting.md TROUBLESHOOTING.txt)
tarn_package_text(LICENSE LICENSE.txt)

# The package's name, for scripts/package.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARN_PACKAGE_ARCHITECTURE win64)
else()
  set(TARN_PACKAGE_ARCHITECTURE win32)
endif()
set(TARN_PACKAGE_NAME "tarn-${TARN_VERSION_TEXT}-${TARN_PACKAGE_ARCHITECTURE}")
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/package/name.txt" CONTENT "${TARN_PACKAGE_NAME}\n")
