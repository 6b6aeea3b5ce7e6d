#!/bin/bash
# Starts kelvolite under Xvfb in a throwaway Wine prefix, seeded with a few
# installed programs and startup items, and saves a PNG of each page into
# docs/screenshots/ (plus the hover header and the about box).
# Usage: scripts/screenshots.sh [build dir]   (default: build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
build=$(cd "${1:-$root/build/win64}" && pwd)
exe=$build/kelvolite/nt/kelvolite.exe
out=$root/docs/screenshots
[ -f "$exe" ] || { echo "screenshots.sh: build $exe first" >&2; exit 1; }
mkdir -p "$out"

# The program's labels are Arial; without a font of Arial's widths Wine
# takes a wider one and the page headers run off the window.
if ! dpkg-query -W -f='${Status}' fonts-liberation 2>/dev/null | grep -q 'ok installed'; then
  apt-get install -y -q --no-install-recommends fonts-liberation >/dev/null ||
    echo "screenshots.sh: without fonts-liberation the page headers may be cut" >&2
fi

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

# Program icons: a rounded tile with a glyph, 32 and 16 pixels in one file.
programs=$prefix/drive_c/Program\ Files
make_icon() {  # file top-colour bottom-colour glyph
  mkdir -p "$(dirname "$1")"
  convert -size 32x32 gradient:"$2-$3" \
    \( -size 32x32 xc:black -fill white -draw 'roundrectangle 1,1 30,30 7,7' \) \
    -alpha off -compose CopyOpacity -composite \
    -font DejaVu-Sans-Bold -pointsize 17 -fill white -gravity center -annotate +0+1 "$4" \
    \( +clone -resize 16x16 \) "$1"
}
make_icon "$programs/Orvella Media Player/orvella.ico" '#ff9a3c' '#d9480f' '▶'
make_icon "$programs/Pixmarra Photo Studio/pixmarra.ico" '#63e6be' '#0b7285' 'P'
make_icon "$programs/Zipquill/zipquill.ico" '#ffd43b' '#e67700' 'Z'
make_icon "$programs/Tallowen Notes/notes.ico" '#b197fc' '#5f3dc4' 'N'
make_icon "$programs/Ferrisguard Antivirus/shield.ico" '#ff6b6b' '#a51111' '✚'
make_icon "$programs/Kestrow Chess Deluxe/chess.ico" '#868e96' '#212529' '♞'
make_icon "$programs/Lumenbay DVD Burner/disc.ico" '#74c0fc' '#1864ab' '◉'

# Installed programs: names, versions and makers of our own invention. Each
# uninstall command starts (the list probes it), except the one whose
# uninstaller is gone: the phantom entry.
uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
run_nt='Software\Microsoft\Windows\CurrentVersion'
probe='C:\\windows\\system32\\rundll32.exe'
entry() {  # key name version publisher icon [uninstall command]
  printf '[%s\\%s]\n"DisplayName"="%s"\n"DisplayVersion"="%s"\n"Publisher"="%s"\n' "$uninstall" "$1" "$2" "$3" "$4"
  printf '"DisplayIcon"="C:\\\\Program Files\\\\%s"\n' "$5"
  printf '"UninstallString"="%s"\n\n' "${6:-$probe}"
}
{
  echo REGEDIT4
  echo
  entry Orvella 'Orvella Media Player' 9.2.1 'Orvella Software' 'Orvella Media Player\\orvella.ico'
  entry '{3F2A9C41-7B1E-4D2A-9E55-1C6B8A0D4E21}' 'Pixmarra Photo Studio 3' 3.1.0 'Pixmarra Inc.' \
    'Pixmarra Photo Studio\\pixmarra.ico' 'MsiExec.exe /X{3F2A9C41-7B1E-4D2A-9E55-1C6B8A0D4E21}'
  entry Zipquill 'Zipquill Archiver' 4.05 'Quillworks' 'Zipquill\\zipquill.ico'
  entry TallowenNotes 'Tallowen Notes' 2.5 'Tallowen Ltd.' 'Tallowen Notes\\notes.ico'
  entry Ferrisguard 'Ferrisguard Antivirus 2004' 2004.1.12 'Ferrisguard Security' 'Ferrisguard Antivirus\\shield.ico'
  entry KestrowChess 'Kestrow Chess Deluxe' 1.8 'Kestrow Games' 'Kestrow Chess Deluxe\\chess.ico'
  entry Lumenbay 'Lumenbay DVD Burner' 5.0.3 'Lumenbay Systems' 'Lumenbay DVD Burner\\disc.ico'
  entry StreamletRadio 'Streamlet Radio Tuner' 1.2 'Streamlet' 'Streamlet\\radio.ico' \
    'C:\\Program Files\\Streamlet\\unwise.exe'
  # Startup items of both roots; the Lumenbay one is switched off.
  printf '[HKEY_LOCAL_MACHINE\\%s\\Run]\n' "$run_nt"
  echo '"OrvellaTray"="\"C:\\Program Files\\Orvella Media Player\\orvtray.exe\" /background"'
  echo '"FerrisguardMonitor"="C:\\Program Files\\Ferrisguard Antivirus\\fgmon.exe -startup"'
  echo
  printf '[HKEY_LOCAL_MACHINE\\%s\\Run-]\n' "$run_nt"
  echo '"LumenbayAutoPlay"="C:\\Program Files\\Lumenbay DVD Burner\\autoplay.exe"'
  echo
  printf '[HKEY_CURRENT_USER\\%s\\Run]\n' "$run_nt"
  echo '"TallowenReminder"="C:\\Program Files\\Tallowen Notes\\remind.exe /tray"'
  echo '"ZipquillHelper"="C:\\Program Files\\Zipquill\\zqhelper.exe"'
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Quorlan Soft\Kelvo Remover 2004 Lite]'
  echo '"Language"="English"'
  echo
  # Arial's metrics, as on Windows.
  echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  echo '"Arial"="Liberation Sans"'
} >"$prefix/drive_c/seed.reg"

setsid "$KV_WINESERVER" -p >/dev/null 2>&1 </dev/null
"$KV_WINE64" regedit /S 'C:\seed.reg' >/dev/null 2>&1 </dev/null
cd "$(dirname "$exe")"
"$KV_WINE64" "$exe" >/dev/null 2>&1 </dev/null &

win=$(xdotool search --sync --onlyvisible --name '^Kelvo Remover 2004$' | head -1)
# The window is centred on the 1024 x 768 screen; its client is 688 x 443.
read -r x y < <(xdotool getwindowgeometry "$win" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
shot() {
  sleep 0.5  # let Wine finish painting; nothing to wait on from outside
  import -display "$DISPLAY" -window root -crop 688x443+"$x"+"$y" +repage "$out/$1.png"
}
click() {
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
park() { xdotool mousemove 1000 740; }

park; shot uninstall
click 51 200; park; shot startup
click 51 281; park; shot taskman
click 51 361
# Two actions ticked, so the summary shows what Execute would do.
click 130 194; click 130 238; park; shot privacy
xdotool mousemove $((x + 51)) $((y + 120)); shot hover-uninstall
park
click 528 15
about=$(xdotool search --sync --onlyvisible --name '^About$' | head -1)
sleep 0.5
import -display "$DISPLAY" -window "$about" "$out/about.png"
xdotool key Escape
echo "screenshots in $out"
