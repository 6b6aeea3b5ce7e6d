#!/bin/bash
# Runs the interactive setup.exe tests (wizard, failed install, removal
# dialog) under Xvfb and Wine, which save each window as a PNG beside the
# test program, and copies the set into docs/screenshots/ (recompressed).
# Not part of the test run; run it by hand after changing a window.
# Usage: scripts/wizard-screenshots.sh [build dir]   (default: build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
exe=$build/tests/setup/setup_run_wintests.exe
out=$root/docs/screenshots
[ -f "$exe" ] || { echo "wizard-screenshots.sh: build setup_run_wintests in $build first" >&2; exit 1; }

shots=$(dirname "$exe")/screens
rm -f "$shots"/default_*.png
KV_SUITE=wizard-screenshots KV_PERSONA=default \
  "$root/tests/wine/wine-suite.sh" "$exe" --gtest_filter='Interactive.*'

mkdir -p "$out"
for name in wizard-welcome wizard-options wizard-progress wizard-completed wizard-cancelled removal; do
  shot=$shots/default_$name.png
  [ -f "$shot" ] || { echo "wizard-screenshots.sh: no $name screenshot" >&2; exit 1; }
  convert "$shot" -strip -define png:compression-level=9 "$out/$name.png"
done
echo "screenshots in $out"
