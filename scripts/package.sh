#!/bin/bash
# Builds the product package in a Windows build tree:
#   <build>/package/Setup.ini           the filled script
#   <build>/package/KelvoLiteSetup.exe  setup with the archive appended
# through that tree's kelvolite_package target (package/CMakeLists.txt),
# which also builds what the package holds and a native kvzpack.
# Usage: scripts/package.sh [win32|win64] [build dir]
#   win32 (the default) is the shipped package, win64 the one Wine runs here;
#   the build dir defaults to build/<arch>.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win32}
case $arch in
  win32|win64) ;;
  *) echo "package.sh: unknown architecture $arch (win32 or win64)" >&2; exit 2 ;;
esac
build=${2:-$root/build/$arch}

[ -f "$build/build.ninja" ] || "$root/scripts/build.sh" "$arch"
cmake --build "$build" -j "${KV_JOBS:-$(nproc)}" --target kelvolite_package
package=$build/package/KelvoLiteSetup.exe
[ -f "$package" ] || { echo "package.sh: $package was not built" >&2; exit 1; }
echo "package: $package ($(stat -c %s "$package") bytes)"
