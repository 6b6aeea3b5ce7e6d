#!/bin/bash
# Installs what the tests need, builds every variant and runs every test:
# native, sanitizer and fuzz runs on Linux, then the Windows suites under
# Wine. Ends with one summary line "tests: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" || exit 1
"$root/scripts/build.sh" native fuzz win64 win32 || exit 1

. "$root/scripts/wine-env.sh"
export KV_WINE_ROOT=$root/build/wine
mkdir -p "$KV_WINE_ROOT"
# One template prefix for all suites, made before CTest so that nothing
# Wine starts holds CTest's pipes. Each suite starts its own X server.
kv_wine_template "$KV_WINE_ROOT/template" || { echo "test.sh: no Wine template" >&2; exit 1; }

passed=0 failed=0 status=0
for v in native fuzz win64; do
  echo "== testing $v"
  out=$(mktemp)
  (cd "$root/build/$v" && ctest --output-on-failure -j "${KV_JOBS:-2}" --timeout 900) 2>&1 | tee "$out"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$out" | tail -1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  fi
  rm -f "$out"
done
echo "tests: $passed passed, $failed failed"
exit $status
