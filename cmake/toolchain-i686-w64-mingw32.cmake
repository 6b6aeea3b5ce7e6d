# 32-bit Windows build: the one that ships. Nothing here can run it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KV_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
