# 64-bit Windows build: the one the tests run (under wine64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
# Each test suite runs in its own Wine prefix through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/wine-suite.sh)
