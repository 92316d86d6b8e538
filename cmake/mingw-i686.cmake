# Cross build for 32-bit Windows with MinGW-w64. The -posix compilers are
# needed: the default thread model lacks std::mutex, which googletest uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZUDO_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${ZUDO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUDO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ZUDO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZUDO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine (see scripts/wine-run.sh).
get_filename_component(_zudo_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_zudo_root}/scripts/wine-run.sh")
