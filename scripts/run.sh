#!/bin/bash
# The main job: installs the toolchain where missing, builds everything and
# shows what the build made. Until the installer can run, it packs a small
# archive with the package builder and lists it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native win32 win64

kvzpack=$root/build/native/tools/kvzpack/kvzpack
if [ -x "$kvzpack" ]; then
  out=$root/build/demo
  mkdir -p "$out"
  "$kvzpack" pack --out "$out/demo.kvz" \
    "README.md=$root/README.md" "CMakeLists.txt=$root/CMakeLists.txt"
  "$kvzpack" list "$out/demo.kvz"
  "$kvzpack" test "$out/demo.kvz"
fi
echo "Built programs:"
find "$root/build/win32" "$root/build/win64" -maxdepth 4 -name '*.exe' -not -path '*/tests/*' -not -path '*/googletest/*' 2>/dev/null | sort
