# The release package: a ZIP with tarn.exe and INSTALL.txt, nothing else.
#
#   cpack --config build/<preset>/CPackConfig.cmake -B dist
#
# makes tarn-<version>-win64.zip from a 64-bit build and tarn-<version>-win32.zip
# from a 32-bit one (scripts/package does both). The stand-in SS.EXE and the
# test and benchmark programs have no install rules, so they never get in.

# INSTALL.txt is read on Windows: CR LF line ends, and the version filled in.
configure_file("${CMAKE_SOURCE_DIR}/docs/INSTALL.txt" "${CMAKE_BINARY_DIR}/package/INSTALL.txt"
               @ONLY NEWLINE_STYLE CRLF)
install(FILES "${CMAKE_BINARY_DIR}/package/INSTALL.txt" DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARN_PACKAGE_ARCHITECTURE win64)
else()
  set(TARN_PACKAGE_ARCHITECTURE win32)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tarn)
set(CPACK_PACKAGE_VENDOR "The Tarn project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Runs one SourceSafe command for a text editor")
set(CPACK_PACKAGE_VERSION "${TARN_VERSION_TEXT}")
set(CPACK_PACKAGE_FILE_NAME "tarn-${TARN_VERSION_TEXT}-${TARN_PACKAGE_ARCHITECTURE}")
# The files sit at the top of the ZIP, ready to be copied into SourceSafe's program folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The shipped exe carries no symbol table; the version resource stays.
set(CPACK_STRIP_FILES ON)
# No source package: the repository is the source.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
