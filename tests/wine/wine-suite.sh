#!/bin/bash
# CTest's emulator for the Windows test executables: runs one suite in a
# fresh copy of the template prefix, with its own persistent wineserver,
# under the persona named by KV_PERSONA.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"

exe=$1; shift
suite=${KV_SUITE:-$(basename "$exe" .exe)}
persona=${KV_PERSONA:-default}
root=${KV_WINE_ROOT:-$here/../../build/wine}
mkdir -p "$root/suites"

# A developer may run ctest by hand: make the template on first use.
( flock 9; kv_wine_template "$root/template" ) 9>"$root/.template.lock" || exit 1
# Each suite gets its own X server: on a shared one, windows of suites
# running side by side take the input focus from each other. Set
# KV_WATCH_DISPLAY to run on the DISPLAY you are looking at instead.
[ -z "${KV_WATCH_DISPLAY:-}" ] && unset DISPLAY
kv_start_display || exit 1

prefix=$root/suites/$suite
rm -rf "$prefix" "$prefix.home"
cp -a "$root/template" "$prefix"
kv_wine_set_persona "$prefix" "$persona"
kv_wine_prefix_env "$prefix"
export KV_PERSONA=$persona

# Server and Wine's own services must not hold CTest's output pipe open.
setsid "$KV_WINESERVER" -p >/dev/null 2>&1 </dev/null
log=$prefix.log
cd "$(dirname "$exe")"
"$KV_WINE64" "$exe" "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
"$KV_WINESERVER" -k >/dev/null 2>&1
# A prefix is 700 MB: keep it only when the suite failed, for a look.
[ $rc -eq 0 ] && rm -rf "$prefix" "$prefix.home" "$log"
[ -n "${KV_XVFB_PID:-}" ] && kill "$KV_XVFB_PID" 2>/dev/null
exit $rc
