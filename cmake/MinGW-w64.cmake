# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the -posix compilers: C++ threads
# and std::async need the POSIX thread model). scripts/build-windows.sh writes a toolchain file
# that sets SSF_MINGW_PREFIX (the static libraries it built) and includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ssf_mingw_triplet x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ssf_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ssf_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${ssf_mingw_triplet}-windres)
set(CMAKE_AR ${ssf_mingw_triplet}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${ssf_mingw_triplet}-gcc-ranlib-posix CACHE FILEPATH "")

# GCC 12 warns falsely of overlapping copies in std::string's operator+ when it inlines
# deeply (GCC bug 105329); the warning is kept in the Linux build, where it does not fire.
if(NOT CMAKE_CXX_FLAGS_INIT MATCHES "-Wno-restrict")  # this file is read more than once
  string(APPEND CMAKE_CXX_FLAGS_INIT " -Wno-restrict")
endif()

# SSF_MINGW_QT_PREFIX: Qt built for MinGW (scripts/build-windows-gui.sh), for the window program.
set(CMAKE_FIND_ROOT_PATH /usr/${ssf_mingw_triplet} ${SSF_MINGW_PREFIX} ${SSF_MINGW_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SSF_MINGW_PREFIX SSF_MINGW_QT_PREFIX)
# Debian's MinGW zlib comes as a DLL and a static library: the static one, so the programs
# need no DLL beside them.
set(ZLIB_USE_STATIC_LIBS ON)

# Programs built here run under Wine at build time (GoogleTest's test discovery).
find_program(SSF_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(SSF_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SSF_WINE64})
endif()

# pkg-config looks only at the prefix: never at the build machine's own libraries.
set(ENV{PKG_CONFIG_LIBDIR} ${SSF_MINGW_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
