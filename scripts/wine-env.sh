# Sourced by the build, test and run scripts: how we drive Wine.
# Always wine64 and its own wineserver (plain "wine" may pick a 32-bit
# loader that this kernel cannot execute).
KV_WINE64=/usr/lib/wine/wine64
KV_WINESERVER=/usr/lib/wine/wineserver
export WINELOADER=$KV_WINE64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# kv_wine_prefix_env PREFIX: point Wine at PREFIX with a throwaway HOME (a
# prefix links Desktop and the Recycle Bin into $HOME).
kv_wine_prefix_env() {
  export WINEPREFIX=$1
  export HOME=$1.home
  mkdir -p "$HOME"
}

# kv_start_display: make sure an X server is there for windows (Xvfb).
# Sets DISPLAY and KV_XVFB_PID when it starts one. Xvfb picks a free display
# number itself (-displayfd), so suites started side by side never end up
# sharing one server and taking the input focus from each other.
kv_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local numfile n i
  numfile=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" </dev/null >/dev/null 2>&1 &
  KV_XVFB_PID=$!
  for i in $(seq 1 200); do
    n=$(tr -dc 0-9 <"$numfile")
    if [ -n "$n" ]; then
      rm -f "$numfile"
      export DISPLAY=:$n
      return 0
    fi
    kill -0 $KV_XVFB_PID 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numfile"
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

# kv_wine_template DIR: build the template prefix every suite copies.
# Idempotent: a finished template carries a stamp file.
kv_wine_template() {
  local dir=$1
  [ -f "$dir/.kv-template-ready" ] && return 0
  rm -rf "$dir" "$dir.home"
  (
    kv_wine_prefix_env "$dir"
    "$KV_WINE64" wineboot -i >/dev/null 2>&1 </dev/null
    "$KV_WINESERVER" -w
    # This Wine looks for Tahoma and Marlett in the prefix.
    mkdir -p "$dir/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$dir/drive_c/windows/Fonts/" 2>/dev/null || true
    # No window manager under Xvfb: Wine draws the frames itself.
    "$KV_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    "$KV_WINESERVER" -w
  ) || return 1
  touch "$dir/.kv-template-ready"
}

# kv_wine_set_persona PREFIX PERSONA: win98, win2k, winxp, win10 ... or
# "default". Written into the stopped prefix's user.reg so that the first
# process already sees it.
kv_wine_set_persona() {
  local prefix=$1 persona=$2
  [ "$persona" = default ] && return 0
  printf '\n[Software\\\\Wine]\n"Version"="%s"\n' "$persona" >> "$prefix/user.reg"
}
