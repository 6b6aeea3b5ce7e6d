#!/bin/bash
# Builds the product package from finished builds:
#   build/<arch>/package/Setup.ini           the filled script
#   build/<arch>/package/KelvoLiteSetup.exe  setup with the archive appended
# or, while build/<arch>/setup/setup.exe does not exist yet, the stand-alone
# archive build/<arch>/package/KelvoLiteSetup.kvz.
# Usage: scripts/package.sh [win32|win64]   (win32, the shipped build, by default)
# Needs: scripts/build.sh native <arch>  (kvzpack, kelvolite, setup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win32}

case $arch in
  win32) target=i686-w64-mingw32;   dlls=(libgcc_s_dw2-1.dll libstdc++-6.dll) ;;
  win64) target=x86_64-w64-mingw32; dlls=(libgcc_s_seh-1.dll libstdc++-6.dll) ;;
  *) echo "package.sh: unknown architecture $arch (win32 or win64)" >&2; exit 2 ;;
esac

build=$root/build/$arch
out=$build/package
kvzpack=$root/build/native/tools/kvzpack/kvzpack
stub=$build/setup/setup.exe

# Archive entries in the order setup reads them: the script, the two wizard
# bitmaps, then the files of the [Files] sections in script order.
names=(
  'Setup.ini'
  '_Setup1.bmp'
  '_Setup2.bmp'
  '0001\07\Kelvo Lite.exe'
  '0001\F0\Kelvo Lite.exe'
  '0001\F7\Kelvo Remover 2004.chm'
  '0001\F7\kelvolite2.ico'
  '0001\F7\lang.lng'
  "0004\\F7\\${dlls[0]}"
  "0004\\F7\\${dlls[1]}"
)
paths=(
  "$out/Setup.ini"
  "$root/setup/res/kelvolite_setup1.bmp"
  "$root/setup/res/kelvolite_setup2.bmp"
  "$build/kelvolite/9x/kelvolite.exe"
  "$build/kelvolite/nt/kelvolite.exe"
  "$build/kelvolite/help/Kelvo Remover 2004.chm"
  "$root/kelvolite/res/kelvolite2.ico"
  "$root/kelvolite/res/lang.lng"
  "$build/kelvolite/nt/${dlls[0]}"
  "$build/kelvolite/nt/${dlls[1]}"
)

missing=0
[ -x "$kvzpack" ] || { echo "package.sh: $kvzpack not built (scripts/build.sh native)" >&2; missing=1; }
for p in "${paths[@]:1}"; do
  [ -f "$p" ] || { echo "package.sh: missing $p (scripts/build.sh $arch)" >&2; missing=1; }
done
[ $missing -eq 0 ] || exit 1

size() { stat -c %s "$1"; }
mkdir -p "$out"

# The compiler's run-time DLLs carry debug information (libstdc++ is about
# 20 MB with it); the package installs stripped copies with the original
# times, so that the replace-if-newer rule sees the toolchain's date.
if command -v "$target-strip" >/dev/null; then
  mkdir -p "$out/runtime"
  for i in 8 9; do
    copy="$out/runtime/$(basename "${paths[$i]}")"
    "$target-strip" --strip-unneeded -o "$copy" "${paths[$i]}"
    touch -r "${paths[$i]}" "$copy"
    paths[$i]=$copy
  done
fi
now=$(date '+%Y-%m-%d %H:%M:%S')
cmake -DTEMPLATE="$root/package/Setup.ini.in" -DOUTPUT="$out/Setup.ini" \
  -DTIMESTAMP="$now" \
  -DBUILD_DATE="${now% *}" -DBUILD_TIME="${now#* }" \
  -DBUILD_EXE="KelvoLiteSetup.exe" -DBUILD_FOLDER="build\\$arch\\package" \
  -DBUILD_LOG="" -DBUILD_TARGET="$target" \
  -DKEY_PATHS="setup/res;kelvolite/res;build/$arch/kelvolite" \
  -DSIZE_KELVOLITE_9X="$(size "${paths[3]}")" \
  -DSIZE_KELVOLITE_NT="$(size "${paths[4]}")" \
  -DSIZE_HELP="$(size "${paths[5]}")" \
  -DSIZE_ICON="$(size "${paths[6]}")" \
  -DSIZE_LANG="$(size "${paths[7]}")" \
  -DRUNTIME_DLL_1="${dlls[0]}" -DSIZE_RUNTIME_DLL_1="$(size "${paths[8]}")" \
  -DRUNTIME_DLL_2="${dlls[1]}" -DSIZE_RUNTIME_DLL_2="$(size "${paths[9]}")" \
  -P "$root/package/fill_script.cmake"

entries=()
for i in "${!names[@]}"; do entries+=("${names[$i]}=${paths[$i]}"); done

if [ -f "$stub" ]; then
  package=$out/KelvoLiteSetup.exe
  rm -f "$out/KelvoLiteSetup.kvz"
  "$kvzpack" pack --stub "$stub" --out "$package" "${entries[@]}"
else
  package=$out/KelvoLiteSetup.kvz
  echo "package.sh: $stub not built yet: writing the stand-alone archive $package" >&2
  "$kvzpack" pack --out "$package" "${entries[@]}"
fi
"$kvzpack" list "$package"
echo "package: $package"
