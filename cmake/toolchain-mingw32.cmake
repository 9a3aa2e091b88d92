# Cross build for 32-bit Windows with MinGW-w64. Its tests run under 32-bit Wine (wine32:i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZEV_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEV_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests built here run under Wine through this wrapper (see toolchain-mingw64.cmake).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh --via-file)
