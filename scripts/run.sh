#!/bin/bash
# The main job: installs the toolchain where missing, builds everything,
# builds the product package (win32, what ships; win64, what runs here) and
# starts the win64 package in a private Wine prefix:
# - with a display (DISPLAY set and reachable): the install wizard;
# - without one: a quiet installation under Xvfb, then Kelvo Lite started as
#   its shortcut starts it, and a screenshot of it.
# Ends by printing where the shipping package is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native win32 win64
"$root/scripts/package.sh" win32
"$root/scripts/package.sh" win64
shipping=$root/build/win32/package/KelvoLiteSetup.exe
package=$root/build/win64/package/KelvoLiteSetup.exe

. "$root/scripts/wine-env.sh"
wine_root=${KV_WINE_ROOT:-$root/build/wine}
mkdir -p "$wine_root"
( flock 9; kv_wine_template "$wine_root/template" ) 9>"$wine_root/.template.lock"
prefix=$wine_root/run
rm -rf "$prefix" "$prefix.home"
cp -a "$wine_root/template" "$prefix"
kv_wine_prefix_env "$prefix"

have_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then have_display=1; fi
if [ $have_display -eq 0 ]; then
  unset DISPLAY
  kv_start_display
fi
cleanup() {
  "$KV_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${KV_XVFB_PID:-}" ] && kill "$KV_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
# Wine's services must not hold this script's output open.
setsid "$KV_WINESERVER" -p >/dev/null 2>&1 </dev/null
cd "$(dirname "$package")"

if [ $have_display -eq 1 ]; then
  echo "run: the install wizard is on $DISPLAY (prefix $prefix)"
  "$KV_WINE64" "$package" </dev/null || echo "run: setup ended with exit code $?"
else
  echo "run: no display: quiet installation under Xvfb $DISPLAY (prefix $prefix)"
  rc=0
  "$KV_WINE64" "$package" /q /b0 >/dev/null 2>&1 </dev/null || rc=$?
  [ $rc -eq 0 ] || { echo "run: setup ended with exit code $rc" >&2; exit 1; }
  exe=$(find "$prefix/drive_c" -path '*Quorlan Soft/Kelvo Remover 2004 Lite/Kelvo Lite.exe' | head -1)
  [ -n "$exe" ] || { echo "run: Kelvo Lite.exe was not installed" >&2; exit 1; }
  echo "run: installed $exe"
  # As the shortcut starts it: from the application folder, where lang.lng is.
  (cd "$(dirname "$exe")" && "$KV_WINE64" "$exe" >/dev/null 2>&1 </dev/null &)
  win=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kelvo Remover 2004$' | head -1)
  [ -n "$win" ] || { echo "run: Kelvo Lite did not show its window" >&2; exit 1; }
  sleep 1  # let Wine finish painting; nothing to wait on from outside
  shot=$root/build/run/kelvolite-installed.png
  mkdir -p "$(dirname "$shot")"
  import -display "$DISPLAY" -window root "$shot"
  echo "run: screenshot of the installed Kelvo Lite: $shot"
fi
echo "shipping package: $shipping"
