# wine_env.sh: sourced by the test scripts. Starts a virtual X display (Xvfb) on a free display
# number and a fresh Wine prefix under a temporary folder, and stops both by process id.
#   wine_env_start   exports DISPLAY, WINEPREFIX, WINEDEBUG, TLF_WINE_TMP
#   wine_env_stop    ends the Wine server and Xvfb, removes the prefix
#   xvfb_start DIR   only the display (its log in DIR): exports DISPLAY, sets TLF_XVFB_PID
#   xvfb_stop        ends that display
#   wait_for SECONDS COMMAND...   polls COMMAND until it succeeds

xvfb_start() {
  # -displayfd: Xvfb takes a free display number itself and writes it once a client can connect.
  # -noreset: by default the server resets whenever its last client leaves, and a program
  # connecting during that reset fails to open its display (2 starts in 40 while a poller
  # connects and leaves).
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$1/xvfb.display" >"$1/xvfb.log" 2>&1 &
  TLF_XVFB_PID=$!
  if wait_for 30 grep -q '^[0-9]' "$1/xvfb.display"; then export DISPLAY=":$(cat "$1/xvfb.display")"; return 0; fi
  echo "xvfb_start: Xvfb did not start" >&2
  xvfb_stop
  return 1
}

xvfb_stop() {
  if [ -n "${TLF_XVFB_PID:-}" ]; then kill "$TLF_XVFB_PID" 2>/dev/null || true; wait "$TLF_XVFB_PID" 2>/dev/null || true; fi
  TLF_XVFB_PID=""
}

wine_env_start() {
  TLF_WINE_TMP=$(mktemp -d /tmp/tlf-wine.XXXXXX) || return 1
  export TLF_WINE_TMP WINEPREFIX="$TLF_WINE_TMP/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  xvfb_start "$TLF_WINE_TMP" || return 1
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
