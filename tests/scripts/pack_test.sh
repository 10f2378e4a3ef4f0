#!/usr/bin/env bash
# Pack mode of the real program in a folder of loose files: a correct "update.dat" and checksum
# list, exit 0; a loose file missing: "Unable to pack files", exit 1, the folder as it was.
#   tests/scripts/pack_test.sh linux LINUX_BUILD               no display: the message on stderr
#   tests/scripts/pack_test.sh wine WINDOWS_BUILD LINUX_BUILD  the message box answered with Enter;
#                                                              the package equals the Linux one
set -euo pipefail
platform=${1:?usage: pack_test.sh linux LINUX_BUILD | wine WINDOWS_BUILD LINUX_BUILD}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
source "$here/wine_env.sh"
source "$here/../../tools/wizard_driver/wizard_screen.sh"
source "$here/checks.sh"
source "$here/integrity_checks.sh"
work=$(mktemp -d /tmp/tlf-pack.XXXXXX)
trap 'stop_program; rm -rf "$work"' EXIT
linux=$(cd "${3:-$2}" && pwd)

# run_pack FOLDER: packs in FOLDER ("-pack"; which words pack: command_line_test.cpp); prints the exit code.
if [ "$platform" = linux ]; then
  program="$linux/tlfupdate"
  run_pack() {
    local status=0
    (cd "$1" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 ./tlfupdate -pack) 2>"$work/message" || status=$?
    echo "$status"
  }
else
  program="$(cd "$2" && pwd)/tlfupdate.exe"
  # The "Setup" box must come (else 255); Enter closes it as a person would.
  run_pack() {
    local window
    (cd "$1" && exec wine tlfupdate.exe -pack) >"$work/wine.log" 2>&1 &
    program_pid=$!
    if ! wait_for 120 xdotool search --name '^Setup$'; then echo "no Setup message box appeared" >&2; stop_program; echo 255; return; fi
    window=$(xdotool search --name '^Setup$' | head -n 1)
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool key --window "$window" Return 2>/dev/null
    wait_program_end 60
    echo "$program_status"
  }
fi

mkdir "$work/update"
"$linux/make_sample_update" "$work/update" >/dev/null
cp "$program" "$work/update/"

check test "$(run_pack "$work/update")" -eq 0
check check_package "$work/update"
check_checksum_list "$work/update"
if [ "$platform" = linux ]; then
  check grep -qx "Setup: Packed files successfully !" "$work/message"
else
  # The same bytes as the Linux program makes of the same files.
  mkdir "$work/linux"
  "$linux/make_sample_update" "$work/linux" >/dev/null
  (cd "$work/linux" && env -u DISPLAY "$linux/tlfupdate" -pack) 2>/dev/null
  check cmp -s "$work/update/update.dat" "$work/linux/update.dat"
fi

# A missing loose file: exit 1, the message, the old package kept, nothing else left behind.
rm "$work/update/weather.cfg"
printf 'old package' >"$work/update/update.dat"
before=$(ls -A "$work/update")
check test "$(run_pack "$work/update")" -eq 1
[ "$platform" = linux ] && check grep -q "Unable to pack files" "$work/message"
check test "$(cat "$work/update/update.dat")" = "old package"
check test "$(ls -A "$work/update")" = "$before"

report_checks "$platform pack"
