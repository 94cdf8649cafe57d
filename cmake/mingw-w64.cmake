# Cross-compiles the real program for Windows with Debian's mingw-w64: for 64-bit Windows, unless
# a toolchain file for another target has named it and included this one (mingw-w64-i686.cmake).
if(NOT DEFINED TOOLCHAIN_PREFIX)
    set(CMAKE_SYSTEM_PROCESSOR x86_64)
    set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
