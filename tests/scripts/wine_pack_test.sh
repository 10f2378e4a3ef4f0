#!/usr/bin/env bash
# End-to-end check of the Windows program's pack mode under Wine: the message box is answered
# with a key press as a person would, the exit code is 0, and "update.dat" equals, byte for byte,
# the one the Linux program makes from the same files. A failed pack shows "Unable to pack files"
# and exits 1. Needs wine_env.sh's display and prefix (tools/run_tests.sh starts them).
#   tests/scripts/wine_pack_test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
source "$here/wine_env.sh"
work=$(mktemp -d /tmp/tlf-wine-pack.XXXXXX)
program_pid=""
cleanup() { [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
source "$here/checks.sh"

# run_pack FOLDER: starts the .exe in FOLDER, waits for its "Setup" box, checks the box's text
# through its window name, presses Enter in it and waits for the end. Prints the exit code.
run_pack() {
  local folder=$1 window status=0
  (cd "$folder" && exec wine tlfupdate.exe -pack) >"$work/wine.log" 2>&1 &
  program_pid=$!
  if ! wait_for 120 xdotool search --name '^Setup$'; then
    echo "no Setup message box appeared" >&2; kill "$program_pid" 2>/dev/null; program_pid=""; echo 255; return
  fi
  window=$(xdotool search --name '^Setup$' | head -n 1)
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" Return
  if ! wait_for 60 bash -c "! kill -0 $program_pid 2>/dev/null"; then
    echo "the program did not end after the message box" >&2; kill "$program_pid" 2>/dev/null
  fi
  wait "$program_pid" || status=$?
  program_pid=""
  echo "$status"
}

mkdir "$work/update"
"$linux/make_sample_update" "$work/update" >/dev/null
cp -a "$work/update" "$work/linux"
cp "$windows/tlfupdate.exe" "$work/update/"
(cd "$work/linux" && env -u DISPLAY "$linux/tlfupdate" -pack) 2>/dev/null

check test "$(run_pack "$work/update")" -eq 0
check check_package "$work/update"
check cmp -s "$work/update/update.dat" "$work/linux/update.dat"

rm "$work/update/weather.cfg"
printf 'old package' >"$work/update/update.dat"
check test "$(run_pack "$work/update")" -eq 1
check test "$(cat "$work/update/update.dat")" = "old package"

report_checks "wine pack"
