#!/bin/bash
# Configures and builds every variant into build/:
#   build/native  Linux: tools (kvzpack), benchmarks, portable tests
#   build/fuzz    Linux clang with ASan+UBSan: portable tests and fuzzers
#   build/win64   x86_64 Windows: the builds the Wine tests run
#   build/win32   i686 Windows: what ships
# Usage: scripts/build.sh [variant ...]   (default: all four)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variants=("$@")
[ ${#variants[@]} -eq 0 ] && variants=(native fuzz win64 win32)
jobs=${KV_JOBS:-$(nproc)}

for v in "${variants[@]}"; do
  dir=$root/build/$v
  args=(-G Ninja -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release)
  case $v in
    native) ;;
    fuzz)   args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKV_FUZZ=ON) ;;
    win64)  args+=(-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-x86_64-w64-mingw32.cmake) ;;
    win32)  args+=(-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-i686-w64-mingw32.cmake -DKV_TESTS=OFF) ;;
    *) echo "build.sh: unknown variant $v" >&2; exit 2 ;;
  esac
  [ -f "$dir/build.ninja" ] || cmake "${args[@]}" >/dev/null
  echo "== building $v"
  cmake --build "$dir" -j "$jobs"
done
