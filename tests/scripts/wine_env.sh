# wine_env.sh: sourced by the test scripts. Starts a virtual X display (Xvfb) on a free display
# number and a fresh Wine prefix under a temporary folder, and stops both by process id.
#   wine_env_start   exports DISPLAY, WINEPREFIX, WINEDEBUG, TLF_WINE_TMP
#   wine_env_stop    ends the Wine server and Xvfb, removes the prefix

wine_env_start() {
  TLF_WINE_TMP=$(mktemp -d /tmp/tlf-wine.XXXXXX)
  export TLF_WINE_TMP
  export WINEPREFIX="$TLF_WINE_TMP/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$TLF_WINE_TMP/xvfb.log" 2>&1 &
  TLF_XVFB_PID=$!
  export DISPLAY=":$n"
  local waited=0
  until [ -e "/tmp/.X11-unix/X$n" ]; do
    waited=$((waited + 1))
    if [ $waited -gt 200 ] || ! kill -0 "$TLF_XVFB_PID" 2>/dev/null; then
      echo "wine_env: Xvfb did not start" >&2; return 1
    fi
    sleep 0.05
  done
  # First start of the prefix: bounded, so that a hung Wine fails the run.
  timeout 300 wineboot -i >"$TLF_WINE_TMP/wineboot.log" 2>&1 || { echo "wine_env: wineboot failed" >&2; return 1; }
  timeout 60 wineserver -w || true
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then timeout 30 wineserver -k 2>/dev/null || true; fi
  if [ -n "${TLF_XVFB_PID:-}" ]; then kill "$TLF_XVFB_PID" 2>/dev/null || true; wait "$TLF_XVFB_PID" 2>/dev/null || true; fi
  if [ -n "${TLF_WINE_TMP:-}" ]; then rm -rf "$TLF_WINE_TMP"; fi
}

# Polls a command until it succeeds or `seconds` pass (no fixed sleeps in the tests).
wait_for() {
  local seconds=$1; shift
  local deadline=$(( $(date +%s) + seconds ))
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
