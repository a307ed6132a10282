# Cross-build for 64-bit Windows with mingw-w64 on Debian. The posix-thread
# compilers are needed: the win32-thread variant of GCC 12 has no std::mutex.
# Executables are static (no mingw runtime DLLs to ship next to them) and run
# here under Wine, in a prefix private to the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QM_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(QM_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix the tests run in")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${QM_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" wine)
