#!/bin/bash
# Benchmark, not a test: our package against an NSIS 3.08 installer of the
# same payload (zlib, solid, amd64 target): the x86_64 product package's
# files plus 1000 small files, about 50 MB in all. Both are installed
# quietly, in turn, each into a fresh copy of the Wine template prefix;
# prints both package sizes and the wall-time ratio ours / NSIS (median of
# the rounds).
# Usage: scripts/bench-nsis.sh [win64 build dir] [rounds]
# Needs: scripts/package.sh win64 (or the same for the given build dir).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
rounds=${2:-3}

if ! dpkg-query -W -f='${Status}' nsis 2>/dev/null | grep -q "install ok installed"; then
  echo "bench: installing nsis"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends nsis >/dev/null
fi

pkg=$build/package
kvzpack=$build/host-tools/tools/kvzpack/kvzpack
[ -x "$kvzpack" ] || kvzpack=$root/build/native/tools/kvzpack/kvzpack
for f in "$pkg/Setup.ini" "$pkg/KelvoLiteSetup.exe" "$build/setup/setup.exe" "$kvzpack"; do
  [ -e "$f" ] || { echo "bench: missing $f (scripts/package.sh win64 first)" >&2; exit 1; }
done
dlls=()
for d in "$pkg"/runtime/*.dll; do dlls+=("$(basename "$d")"); done
[ ${#dlls[@]} -eq 2 ] || { echo "bench: expected two run-time DLLs in $pkg/runtime" >&2; exit 1; }

work=$root/build/bench-nsis
rm -rf "$work"
mkdir -p "$work/payload/bulk"
cp "$build/kelvolite/9x/kelvolite.exe" "$work/payload/kelvolite-9x.exe"
cp "$build/kelvolite/nt/kelvolite.exe" "$work/payload/kelvolite-nt.exe"
cp "$build/kelvolite/help/Kelvo Remover 2004.chm" "$root/kelvolite/res/kelvolite2.ico" \
   "$root/kelvolite/res/lang.lng" "$pkg"/runtime/*.dll "$work/payload/"

# The bulk: 1000 files, reproducible, with text, repeats and noise mixed
# as in real program folders, so both compressors have something to do.
python3 - "$work/payload/bulk" <<'EOF'
import os, random, sys
out = sys.argv[1]
rng = random.Random(2004)
words = [b"kelvo", b"remover", b"startup", b"registry", b"privacy", b"uninstall",
         b"folder", b"setup", b"windows", b"program", b"cookie", b"history"]
for i in range(1000):
    size = rng.randint(20000, 75000)
    parts, n = [], 0
    while n < size:
        kind = rng.random()
        if kind < 0.5:
            chunk = b" ".join(rng.choice(words) for _ in range(rng.randint(5, 40))) + b"\r\n"
        elif kind < 0.8:
            chunk = bytes([rng.randrange(256)]) * rng.randint(16, 512)
        else:
            chunk = rng.randbytes(rng.randint(64, 1024))
        parts.append(chunk)
        n += len(chunk)
    with open(os.path.join(out, "file%04d.dat" % i), "wb") as f:
        f.write(b"".join(parts)[:size])
EOF
payload_bytes=$(du -sb "$work/payload" | cut -f1)

# Ours: the product script with a fifth [Files] section for the bulk,
# placed after the other four (before the shortcuts: the registry group at
# the end of the script is a group of its own), entries in script order.
script=$work/Setup.ini
section=$work/bulk-section.ini
printf '[Files]\r\nInstallDir=<AppFolder>\\Bulk\r\n' > "$section"
bulk_entries=()
for f in "$work"/payload/bulk/*.dat; do
  name=$(basename "$f")
  printf 'File=0005\\F7\\%s|%s|3|2|0|0=0005\\F7\\%s|0|-1|247|0||\r\n' "$name" "$(stat -c %s "$f")" "$name" >> "$section"
  bulk_entries+=("0005\\F7\\$name=$f")
done
awk -v section="$section" '
  /^\[ShellLink\]/ && !done { while ((getline line < section) > 0) print line; done = 1 }
  { print }' "$pkg/Setup.ini" > "$script"
grep -q 'InstallDir=<AppFolder>\\Bulk' "$script" || { echo "bench: no [ShellLink] in $pkg/Setup.ini" >&2; exit 1; }
p=$work/payload
"$kvzpack" pack --stub "$build/setup/setup.exe" --out "$work/ours.exe" \
  "Setup.ini=$script" \
  "_Setup1.bmp=$root/setup/res/kelvolite_setup1.bmp" "_Setup2.bmp=$root/setup/res/kelvolite_setup2.bmp" \
  "0001\\07\\Kelvo Lite.exe=$p/kelvolite-9x.exe" "0001\\F0\\Kelvo Lite.exe=$p/kelvolite-nt.exe" \
  "0001\\F7\\Kelvo Remover 2004.chm=$p/Kelvo Remover 2004.chm" \
  "0001\\F7\\kelvolite2.ico=$p/kelvolite2.ico" "0001\\F7\\lang.lng=$p/lang.lng" \
  "0004\\F7\\${dlls[0]}=$p/${dlls[0]}" "0004\\F7\\${dlls[1]}=$p/${dlls[1]}" \
  "${bulk_entries[@]}" >/dev/null

# NSIS: the same files, folders, shortcuts and registry values.
cat > "$work/kelvolite.nsi" <<EOF
Unicode true
Target amd64-unicode
SetCompressor /SOLID zlib
Name "Kelvo Remover 2004 Lite"
OutFile "$work/nsis.exe"
InstallDir "\$PROGRAMFILES64\\Quorlan Soft\\Kelvo Remover 2004 Lite"
RequestExecutionLevel admin
SilentInstall silent
!include "WinVer.nsh"
!include "LogicLib.nsh"
Section
  SetShellVarContext all
  SetOutPath "\$INSTDIR"
  \${If} \${IsNT}
    File "/oname=Kelvo Lite.exe" "$p/kelvolite-nt.exe"
  \${Else}
    File "/oname=Kelvo Lite.exe" "$p/kelvolite-9x.exe"
  \${EndIf}
  File "$p/Kelvo Remover 2004.chm"
  File "$p/kelvolite2.ico"
  File "$p/lang.lng"
  SetOutPath "\$INSTDIR\\Bulk"
  File "$p/bulk/*.dat"
  SetOutPath "\$SYSDIR"
  File "$p/${dlls[0]}"
  File "$p/${dlls[1]}"
  SetOutPath "\$INSTDIR"
  WriteUninstaller "\$INSTDIR\\Setup.exe"
  CreateDirectory "\$SMPROGRAMS\\Kelvo Remover 2004 Lite"
  CreateShortCut "\$SMPROGRAMS\\Kelvo Remover 2004 Lite\\Kelvo Remover 2004 Lite.lnk" "\$INSTDIR\\Kelvo Lite.exe"
  CreateShortCut "\$SMPROGRAMS\\Kelvo Remover 2004 Lite\\Uninstall Kelvo Remover 2004 Lite.lnk" "\$INSTDIR\\Setup.exe" "/remove" "\$INSTDIR\\kelvolite2.ico" 0
  CreateShortCut "\$DESKTOP\\Kelvo Remover 2004 Lite.lnk" "\$INSTDIR\\Kelvo Lite.exe"
  WriteRegStr HKLM "Software\\Quorlan Soft\\Kelvo Remover 2004 Lite" "Language" "English"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite" "DisplayName" "Kelvo Remover 2004 Lite 3.0"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite" "UninstallString" "\$INSTDIR\\Setup.exe"
SectionEnd
Section "Uninstall"
SectionEnd
EOF
makensis -V1 "$work/kelvolite.nsi"

. "$root/scripts/wine-env.sh"
wine_root=${KV_WINE_ROOT:-$root/build/wine}
mkdir -p "$wine_root"
( flock 9; kv_wine_template "$wine_root/template" ) 9>"$wine_root/.template.lock"
unset DISPLAY
kv_start_display
prefix=$wine_root/bench-nsis
cleanup() {
  kv_wine_prefix_env "$prefix"
  "$KV_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${KV_XVFB_PID:-}" ] && kill "$KV_XVFB_PID" 2>/dev/null || true
  rm -rf "$prefix" "$prefix.home"
}
trap cleanup EXIT

# One timed quiet installation in a fresh prefix with a warm server; the
# prefix copy and the server start are not timed. Prints seconds.
install_once() {
  local exe=$1; shift
  # Runs in a subshell: point Wine at the prefix before stopping its server.
  kv_wine_prefix_env "$prefix"
  "$KV_WINESERVER" -k >/dev/null 2>&1 || true
  "$KV_WINESERVER" -w 2>/dev/null || true
  rm -rf "$prefix" "$prefix.home"
  cp -a "$wine_root/template" "$prefix"
  kv_wine_prefix_env "$prefix"
  setsid "$KV_WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$KV_WINE64" wineboot >/dev/null 2>&1 </dev/null
  local start end rc=0
  start=$(date +%s.%N)
  "$KV_WINE64" "$exe" "$@" >/dev/null 2>&1 </dev/null || rc=$?
  end=$(date +%s.%N)
  [ $rc -eq 0 ] || { echo "bench: $(basename "$exe") ended with exit code $rc" >&2; exit 1; }
  [ -f "$(find "$prefix/drive_c" -path '*Kelvo Remover 2004 Lite/Bulk/file0999.dat' | head -1)" ] ||
    { echo "bench: $(basename "$exe") did not install the bulk" >&2; exit 1; }
  awk -v a="$end" -v b="$start" 'BEGIN { printf "%.3f\n", a - b }'
}

ours_times=() nsis_times=()
for i in $(seq 1 "$rounds"); do
  ours_times+=("$(install_once "$work/ours.exe" /q2 /b0)")
  nsis_times+=("$(install_once "$work/nsis.exe" /S)")
  echo "round $i: ours ${ours_times[-1]} s, NSIS ${nsis_times[-1]} s"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ours=$(median "${ours_times[@]}")
nsis=$(median "${nsis_times[@]}")
ours_size=$(stat -c %s "$work/ours.exe")
nsis_size=$(stat -c %s "$work/nsis.exe")
echo "payload: $payload_bytes bytes in $(find "$work/payload" -type f | wc -l) files"
echo "package size: ours $ours_size bytes, NSIS $nsis_size bytes (ours/NSIS $(ratio "$ours_size" "$nsis_size"))"
echo "install time (median of $rounds): ours $ours s, NSIS $nsis s (ours/NSIS $(ratio "$ours" "$nsis"))"
