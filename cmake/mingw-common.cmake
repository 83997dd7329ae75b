# Shared part of both MinGW-w64 toolchains. The -posix compilers are required:
# the win32 thread model has no std::mutex or std::thread.
set(CMAKE_C_COMPILER   ${TARVENHOLM_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVENHOLM_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARVENHOLM_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVENHOLM_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests and tools run under Wine; see scripts/wine-run.sh.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
