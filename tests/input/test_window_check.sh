#!/usr/bin/env bash
# test_window_check.sh: the input test window (tests/input/test_window.h) with a real display and
# real pointer and key events from xdotool. It must react exactly as the headless test
# InputLoopTest.TheTestWindowReactsToClicksAndKeysAsScripted predicts, the "Sink me" Button must
# sink on the screen while it is held, and the pointer must be the program's own hand over that
# Button and its own arrow elsewhere.
#
#   tests/input/test_window_check.sh linux   <Linux build folder>    the SDL program
#   tests/input/test_window_check.sh windows <Windows build folder>  the Win32 program under Wine
#
# The program is compiled here from the platform's start-up file, the test window and the build's
# libraries (tlf_core, tlf_ui, tlf_system). Uses DISPLAY (and WINEPREFIX) when set, else starts its
# own Xvfb (and Wine prefix), and stops what it started by process id. Exit status 0 when all
# checks pass.
#
# Timing: the program polls its input once per frame and keeps only the last key and the button
# state of each frame, so events are sent a frame apart: a press is held until the screen shows
# the Button sunk (polled), and after events with nothing to see the script waits until the
# program has begun two more frames (it counts them in run/frames.txt).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
mode=${1:?usage: test_window_check.sh linux|windows <build folder>}
build=$(cd "${2:?usage: test_window_check.sh linux|windows <build folder>}" && pwd)

work=$(mktemp -d /tmp/tlf-input-window.XXXXXX)
started_xvfb=""
started_wine=""
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  if [ -n "$started_wine" ]; then timeout 30 wineserver -k 2>/dev/null || true; fi
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; wait "$started_xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "test_window_check ($mode): $*" >&2
  [ -s "$work/program.log" ] && sed 's/^/  program: /' "$work/program.log" >&2
  exit 1
}

# wait_for, xvfb_start and xvfb_stop.
source "$top/tests/scripts/wine_env.sh"

# ---- build the program and the cursor probe -------------------------------------------------
libs=("$build/libtlf_core.a" "$build/libtlf_ui.a" "$build/libtlf_system.a")
for lib in "${libs[@]}"; do [ -f "$lib" ] || fail "no $lib: build the tlfupdate target first"; done
sources=("$top/tests/input/test_window.cpp" "$top/tests/input/test_window_program.cc")
case "$mode" in
  linux)
    g++ -std=c++17 -O1 -I"$top" "$top/platform/sdl/sdl_main.cpp" "${sources[@]}" \
      -Wl,--start-group "${libs[@]}" -Wl,--end-group $(sdl2-config --libs) -o "$work/test_window"
    run=("$work/test_window")
    ;;
  windows)
    x86_64-w64-mingw32-windres -I"$top" "$top/platform/win32/resources.rc" -O coff -o "$work/resources.o"
    x86_64-w64-mingw32-g++-posix -std=c++17 -O1 -I"$top" -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
      "$top/platform/win32/win32_main.cpp" "${sources[@]}" "$work/resources.o" \
      -Wl,--start-group "${libs[@]}" -Wl,--end-group -luser32 -lgdi32 -lshell32 -ladvapi32 \
      -static -static-libgcc -static-libstdc++ -mwindows -o "$work/test_window.exe"
    run=(wine "$work/test_window.exe")
    ;;
  *) fail "the mode is linux or windows" ;;
esac
cc -O1 "$top/tests/input/cursor_probe.c" -lX11 -lXfixes -o "$work/cursor_probe"

# ---- display (and Wine) ---------------------------------------------------------------------
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start "$work" || fail "Xvfb did not start"
  started_xvfb=$TLF_XVFB_PID
fi
if [ "$mode" = windows ]; then
  export WINEDEBUG=-all
  if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$work/prefix"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    started_wine=1
    timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed"
  fi
fi

# ---- run ------------------------------------------------------------------------------------
mkdir "$work/run"
cp "$top"/data/fonts/*.fnt "$work/run/"
(cd "$work/run" && export TLF_TEST_WINDOW_FRAMES=frames.txt && exec "${run[@]}" >"$work/program.log" 2>&1) &
program_pid=$!
wait_for 60 xdotool search --name "^Input test$" || { kill -0 "$program_pid" 2>/dev/null && echo "  (program still running)" >&2; xdotool search --name "." getwindowname %@ >&2 2>/dev/null; fail "the window did not appear"; }
window=$(xdotool search --name '^Input test$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# Without a window manager the X window is the whole window; the borders are equal left, right
# and below, and the caption is above.
ox=$(( (WIDTH - 550) / 2 ))
oy=$(( HEIGHT - 350 - ox ))
left=$(( X + ox ))
top_edge=$(( Y + oy ))

move() { xdotool mousemove $(( left + $1 )) $(( top_edge + $2 )); }
# Brightness 0-255 of a client pixel on the screen.
brightness() {
  import -window root -crop "1x1+$(( left + $1 ))+$(( top_edge + $2 ))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,0: *[a-z]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | awk '{ print int(($1 + $2 + $3) / 3) }'
}
is_dark() { [ "$(brightness "$1" "$2")" -lt 128 ]; }
is_light() { [ "$(brightness "$1" "$2")" -ge 200 ]; }
# The number of frames the program has begun (it rewrites run/frames.txt at the start of each).
frames_now() {
  local n="" tries=0
  while [ -z "$n" ] && [ $tries -lt 100 ]; do
    n=$(tr -dc 0-9 <"$work/run/frames.txt" 2>/dev/null || true)
    tries=$((tries + 1))
  done
  echo "${n:-0}"
}
frames_reached() { [ "$(frames_now)" -ge "$1" ]; }
# Waits until the program has begun two more frames: one pump took what was sent, and one whole
# frame acted on it.
pause() {
  local target=$(( $(frames_now) + 2 ))
  wait_for 10 frames_reached "$target" || fail "the program stopped taking frames"
}
click_with_pause() { move "$1" "$2"; pause; xdotool mousedown 1; pause; xdotool mouseup 1; pause; }
key() { xdotool key "$1"; pause; }
# Compares the pointer shown now with the picture of an .art file.
cursor_is() {
  "$work/cursor_probe" >"$work/cursor.txt" || return 1
  sed -n '/^pixels$/,$p' "$top/data/artwork/$1.art" | tail -n +2 >"$work/expected.txt"
  tail -n +2 "$work/cursor.txt" | cut -c1-32 | head -n 32 >"$work/shown.txt"
  head -n 1 "$work/cursor.txt" | grep -q '^32 32 0 0$' && cmp -s "$work/expected.txt" "$work/shown.txt"
}

move 300 200
pause
wait_for 10 is_light 100 50 || fail "the window shows no raised Button at (100, 50)"
wait_for 10 cursor_is arrow || { cat "$work/cursor.txt" >&2; fail "the pointer is not the program's arrow"; }

# "Sink me": the hand over it; it sinks while held and rises on the release (a click).
move 140 60
wait_for 10 cursor_is hand || { cat "$work/cursor.txt" >&2; fail "the pointer over the Button is not the program's hand"; }
xdotool mousedown 1
wait_for 10 is_dark 100 50 || fail "the Button did not sink while held"
xdotool mouseup 1
wait_for 10 is_light 100 50 || fail "the Button did not rise on the release"
pause
click_with_pause 240 60   # the inert Button: nothing
click_with_pause 100 60   # the edge of "Sink me": nothing
key a
key b
key BackSpace
key Return
key Left
move 505 324
pause
wait_for 10 cursor_is arrow || fail "the pointer did not become the arrow again"
xdotool mousedown 1
pause
xdotool mouseup 1

wait_for 30 bash -c "! kill -0 $program_pid" || fail "the program did not end on Exit"
wait "$program_pid" || true
program_pid=""
expected=$'click 1\nkey 65 char 97\nkey 66 char 98\nkey 8 char 8\nkey 13 char 13\nkey 37 char 0\nclick 0'
actual=$(tr -d '\r' <"$work/run/test_window.log")
if [ "$actual" != "$expected" ]; then
  printf 'expected:\n%s\nactual:\n%s\n' "$expected" "$actual" >&2
  fail "the window did not react as the headless test predicts"
fi
echo "test_window_check ($mode): the window reacted as predicted, with the program's own cursors"
