# Cross-compiles for 64-bit Windows with Debian's clang, against the headers
# and libraries of the posix thread-model mingw-w64 GCC (clang does not look in
# GCC's "12-posix" folder by itself). Resources still go through windres.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARN_MINGW_TRIPLE x86_64-w64-mingw32)
set(TARN_MINGW_SYSROOT /usr/${TARN_MINGW_TRIPLE})
set(TARN_MINGW_GCC_DIR /usr/lib/gcc/${TARN_MINGW_TRIPLE}/12-posix)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TARN_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${TARN_MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${TARN_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TARN_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TARN_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${TARN_MINGW_TRIPLE}-strip CACHE FILEPATH "")

set(CMAKE_C_FLAGS_INIT "--sysroot=${TARN_MINGW_SYSROOT}")
set(CMAKE_CXX_FLAGS_INIT "--sysroot=${TARN_MINGW_SYSROOT}")
# GCC's libstdc++, ahead of every other include folder. (clang itself finds no
# C++ library for this target, so none needs to be switched off.)
foreach(folder "" /${TARN_MINGW_TRIPLE} /backward)
  string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${TARN_MINGW_GCC_DIR}/include/c++${folder}")
endforeach()
# mingw-w64's own GNU ld links, not lld: lld 14 mislinks the unwind tables of
# the GCC-built libstdc++, so an exception thrown inside it (std::bad_alloc from
# a std::string) unwinds into garbage. -pthread brings in winpthreads, which
# libstdc++ needs in a static link.
set(CMAKE_EXE_LINKER_FLAGS_INIT "--sysroot=${TARN_MINGW_SYSROOT} -fuse-ld=bfd -L${TARN_MINGW_GCC_DIR} -pthread")

set(CMAKE_FIND_ROOT_PATH ${TARN_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
