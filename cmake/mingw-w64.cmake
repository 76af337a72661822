# Cross-builds Velmora.exe for 64-bit Windows with Debian's MinGW-w64 (the posix
# thread model, which the C++ standard library's threads and mutexes need), and
# runs the built programs under Wine: the tests, and the icon tool during the build.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: libgcc, libstdc++ and winpthread linked in, so that it
# needs nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release programs without their symbols, as they are shipped.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# Debian's wine64 loader, called directly: the wine wrapper script only adds a
# hint about the missing 32-bit loader. Every program runs in a Wine prefix of
# the build tree's own, quietly, and without offering to install Mono or Gecko.
find_program(VELMORA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMORA_WINE)
    message(FATAL_ERROR "Wine runs the icon tool during the build and the tests: install wine and wine64")
endif()
set(VELMORA_WINE_ENVIRONMENT
    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR env ${VELMORA_WINE_ENVIRONMENT} ${VELMORA_WINE})

# zlib, where a program links it, goes into the .exe itself: Debian's libz-mingw-w64-dev
# ships libz.a, where linking its import library would need a zlib1.dll beside the exe.
set(ZLIB_USE_STATIC_LIBS ON)
