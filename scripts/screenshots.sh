#!/bin/bash
# Starts kelvolite under Xvfb in a throwaway Wine prefix and saves a PNG of
# each page into docs/screenshots/ (plus the message and about boxes).
# Usage: scripts/screenshots.sh [build dir]   (default: build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
build=${1:-$root/build/win64}
exe=$build/kelvolite/nt/kelvolite.exe
out=$root/docs/screenshots
[ -f "$exe" ] || { echo "screenshots.sh: build $exe first" >&2; exit 1; }
mkdir -p "$out"

wine_root=${KV_WINE_ROOT:-$root/build/wine}
mkdir -p "$wine_root"
( flock 9; kv_wine_template "$wine_root/template" ) 9>"$wine_root/.template.lock"
prefix=$wine_root/screenshots
rm -rf "$prefix" "$prefix.home"
cp -a "$wine_root/template" "$prefix"
kv_wine_prefix_env "$prefix"
unset DISPLAY
kv_start_display

cleanup() {
  "$KV_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${KV_XVFB_PID:-}" ] && kill "$KV_XVFB_PID" 2>/dev/null || true
  rm -rf "$prefix" "$prefix.home"
}
trap cleanup EXIT

setsid "$KV_WINESERVER" -p >/dev/null 2>&1 </dev/null
"$KV_WINE64" reg add 'HKLM\Software\Quorlan Soft\Kelvo Remover 2004 Lite' /v Language /d English /f \
  >/dev/null 2>&1 </dev/null
cd "$(dirname "$exe")"
"$KV_WINE64" "$exe" >/dev/null 2>&1 </dev/null &

win=$(xdotool search --sync --onlyvisible --name '^Kelvo Remover 2004$' | head -1)
# The window is centred on the 1024 x 768 screen; its client is 688 x 443.
read -r x y < <(xdotool getwindowgeometry "$win" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
shot() {
  sleep 0.5  # let Wine finish painting; nothing to wait on from outside
  import -display "$DISPLAY" -window root -crop 688x443+"$x"+"$y" "$out/$1.png"
}
click() {
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
park() { xdotool mousemove 1000 740; }

park; shot uninstall
click 51 200; park; shot startup
click 51 281; park; shot taskman
click 51 361; park; shot privacy
xdotool mousemove $((x + 51)) $((y + 120)); shot hover-uninstall
park
click 528 15
about=$(xdotool search --sync --onlyvisible --name '^About$' | head -1)
sleep 0.5
import -display "$DISPLAY" -window "$about" "$out/about.png"
xdotool key Escape
echo "screenshots in $out"
