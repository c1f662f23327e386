# Build settings of Tarn's own targets. They are set per target, not for the
# whole directory, so that third-party code built along with the project
# (GoogleTest) keeps its own warnings and flags.

# On by default, so that no warning gets in unnoticed; a packager whose newer
# compiler warns about something new can turn it off here or with CMake's own
# --compile-no-warning-as-error.
option(TARN_WARNINGS_AS_ERRORS "Fail the build on a compiler warning in Tarn's own code" ON)
# Preset mingw-x64-coverage: gcov counters in Tarn's own code, read by scripts/coverage.
option(TARN_COVERAGE "Build with gcov line and branch counters" OFF)

# tarn_target_settings(TARGET): warnings, language standard, definitions and
# link options for one of the project's targets. C++ targets get C++17 and the
# static C++ runtime; C-only targets (the benchmark's) get neither.
function(tarn_target_settings target)
  set_target_properties(${target} PROPERTIES COMPILE_WARNING_AS_ERROR ${TARN_WARNINGS_AS_ERRORS})
  get_target_property(sources ${target} SOURCES)
  set(is_cxx OFF)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.(cpp|h)$")
      set(is_cxx ON)
    endif()
  endforeach()
  if(is_cxx)
    # PUBLIC on a library: whoever links it compiles its headers as C++17 too.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      target_compile_features(${target} PUBLIC cxx_std_17)
    else()
      target_compile_features(${target} PRIVATE cxx_std_17)
    endif()
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  endif()

  target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(MSVC)
    target_compile_options(${target} PRIVATE
      "$<$<COMPILE_LANGUAGE:C,CXX>:/W4>" "$<$<COMPILE_LANGUAGE:CXX>:/permissive->"
      # Objects and exe without time stamps, for reproducible releases.
      "$<$<COMPILE_LANGUAGE:C,CXX>:/Brepro>")
    target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS)
    target_link_options(${target} PRIVATE /Brepro)
  else()
    target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra;-Wpedantic>")
    if(TARN_COVERAGE)
      # Counters written beside the objects, at their full paths (so no prefix map).
      target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:--coverage>")
      target_link_options(${target} PRIVATE --coverage)
    else()
      # No path of the build machine in the binaries: two builds of one commit
      # in different folders give the same bytes.
      target_compile_options(${target} PRIVATE
        "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
        "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
    endif()
    # Static runtime: the exe imports only system DLLs, so it can be dropped
    # beside SS.EXE. No time stamp in the PE header, for reproducible releases.
    set(link_options -static -static-libgcc -Wl,--no-insert-timestamp)
    if(is_cxx)
      list(APPEND link_options -static-libstdc++)
    endif()
    target_link_options(${target} PRIVATE ${link_options})
  endif()
endfunction()
