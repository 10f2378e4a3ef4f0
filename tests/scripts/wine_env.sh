# wine_env.sh: sourced by the test scripts. Starts a virtual X display (Xvfb) on a free display
# number and a fresh Wine prefix under a temporary folder, and stops both by process id.
#   wine_env_start   exports DISPLAY, WINEPREFIX, WINEDEBUG, TLF_WINE_TMP
#   wine_env_stop    ends the Wine server and Xvfb, removes the prefix
#   xvfb_start DIR   only the display (its log in DIR): exports DISPLAY, sets TLF_XVFB_PID
#   xvfb_stop        ends that display
#   wait_for SECONDS COMMAND...   polls COMMAND until it succeeds

xvfb_start() {
  local log_folder=$1 n=90 attempt waited
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    # -noreset: by default the server resets whenever its last client leaves, and a program
    # connecting during that reset fails to open its display (2 starts in 40 while a poller
    # connects and leaves).
    Xvfb ":$n" -noreset -screen 0 1024x768x24 -nolisten tcp >"$log_folder/xvfb.log" 2>&1 &
    TLF_XVFB_PID=$!
    waited=0
    # Ready when a client can talk to it, not merely when its socket exists.
    until xdpyinfo -display ":$n" >/dev/null 2>&1 || ! kill -0 "$TLF_XVFB_PID" 2>/dev/null || [ $waited -gt 200 ]; do
      waited=$((waited + 1))
      sleep 0.05
    done
    if xdpyinfo -display ":$n" >/dev/null 2>&1 && kill -0 "$TLF_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    # Another program took the number at the same moment (or Xvfb hung): try the next one.
    kill "$TLF_XVFB_PID" 2>/dev/null || true
    wait "$TLF_XVFB_PID" 2>/dev/null || true
    TLF_XVFB_PID=""
    n=$((n + 1))
  done
  echo "xvfb_start: Xvfb did not start" >&2
  return 1
}

xvfb_stop() {
  if [ -n "${TLF_XVFB_PID:-}" ]; then kill "$TLF_XVFB_PID" 2>/dev/null || true; wait "$TLF_XVFB_PID" 2>/dev/null || true; fi
  TLF_XVFB_PID=""
}

wine_env_start() {
  TLF_WINE_TMP=$(mktemp -d /tmp/tlf-wine.XXXXXX)
  export TLF_WINE_TMP
  export WINEPREFIX="$TLF_WINE_TMP/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  xvfb_start "$TLF_WINE_TMP" || { echo "wine_env: Xvfb did not start" >&2; return 1; }
  # First start of the prefix: bounded, so that a hung Wine fails the run.
  timeout 300 wineboot -i >"$TLF_WINE_TMP/wineboot.log" 2>&1 || { echo "wine_env: wineboot failed" >&2; return 1; }
  timeout 60 wineserver -w || true
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then timeout 30 wineserver -k 2>/dev/null || true; fi
  xvfb_stop
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
