# 64-bit Windows build: the one the tests run (under wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KV_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KV_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${KV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Each test suite runs in its own Wine prefix through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/wine-suite.sh)
