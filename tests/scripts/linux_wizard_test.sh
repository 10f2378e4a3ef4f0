#!/usr/bin/env bash
# End-to-end check of the Linux installer (the SDL build) on its own virtual display, driven
# like a person with real X events from xdotool. The delivery folder is built; the record file
# (TLF_REGISTRY) names a stale copy of the game that lacks its "data" folder, so the update
# stops on the write-failure page; the player goes back, types the real game's folder, and the
# update runs to its end there: English, Enter on the version page, Yes to the quick-start
# question, Finish. Afterwards the packed files are in place byte for byte ("tlf.exe", the one
# entry installed before the failure, in the stale folder; the rest in the typed one), the readme
# is in place and opened, "tlf.icd" and the quick-start files are gone, the record holds the new
# version and the exit code is 0. A second run without "update.dat" ends on the page "Unable to
# find a source file" and changes nothing. Every page passed is compared with the headless
# rendering of the same state. With the language page shown and no input, the processor time
# the program takes over 10 seconds is measured from /proc and reported.
#   tests/scripts/linux_wizard_test.sh LINUX_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
source "$here/wine_env.sh"
source "$here/wizard_screen.sh"
started=$(date +%s)
# A short name: the typed folder must fit the folder field.
work=$(mktemp -d /tmp/tlf-lw.XXXXXX)
TLF_XVFB_PID=""
cleanup() { stop_program; xvfb_stop; rm -rf "$work"; }
trap cleanup EXIT
source "$here/checks.sh"
finish() {
  echo "linux wizard: took $(($(date +%s) - started))s"
  report_checks "linux wizard"
  exit
}

# ---- what is tested: the delivery folder of the Linux build, and the reference pages ----
if ! timeout 900 cmake --build "$build" --target delivery tests_e2e >"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  check false "the delivery target builds"
  finish
fi
delivery="$build/delivery/tallyfield_update"
loose=$(delivery_loose_files "$build")
stale="$work/old"
game="$work/game"
REFERENCE_FOLDER="$work/reference"
SCREEN_FOLDER="$work/screen"
mkdir "$REFERENCE_FOLDER" "$SCREEN_FOLDER"
if ! TLF_REFERENCE_PAGES="$REFERENCE_FOLDER" TLF_REFERENCE_VERSION=Release TLF_REFERENCE_FOLDER="$game" \
  timeout 300 "$build/tests/tests_e2e" --gtest_filter='ReferencePages.*' >"$work/reference.log" 2>&1; then
  cat "$work/reference.log" >&2
  check false "the reference pages are rendered"
  finish
fi
wizard_layout "$delivery"

# The folder and its archive: program, fonts, readmes and a package of the loose files.
mkdir "$work/unpacked"
tar -xzf "$build/delivery/tallyfield_update_linux.tar.gz" -C "$work/unpacked"
check_delivery "$delivery" "$loose" "$work/unpacked"
check test -x "$delivery/tlfupdate"

# A delivery that cannot be made (a loose file missing) fails and leaves the last one alone.
mkdir "$work/broken" "$work/last"
cp "$loose"/* "$work/broken/"
rm "$work/broken/weather.cfg"
printf 'last delivery\n' >"$work/last/update.dat"
printf 'last archive\n' >"$work/last.tar.gz"
check bash -c "! bash '$here/../../tools/make_delivery.sh' '$delivery/tlfupdate' '$work/broken' '$delivery' \
  '$work/last' '$work/last.tar.gz' >/dev/null 2>&1"
check test "$(cat "$work/last/update.dat")" = "last delivery"
check test "$(cat "$work/last.tar.gz")" = "last archive"
check test "$(ls -A "$work" | grep -c '^\.delivery')" -eq 0

# ---- the game, the record, and a stand-in for the desktop's document opener ----
make_old_game "$game"
mkdir "$stale"
printf 'old tlf.exe of a copy left behind\n' >"$stale/tlf.exe"
record="$work/registry.reg"
write_record() {
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n"Location"="%s"\n"Version"="%s"\n' "$1" "$2" >"$record"
}
write_record "$stale" Release
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

xvfb_start "$work" || { check false "Xvfb starts"; finish; }

PROGRAM_LOG="$work/program.log"
# start_program FOLDER: the installer, started in FOLDER as the readme tells a player.
start_program() {
  (cd "$1" && exec env TLF_REGISTRY="$record" PATH="$work/bin:$PATH" SDL_VIDEODRIVER=x11 ./tlfupdate) \
    >"$PROGRAM_LOG" 2>&1 &
  program_pid=$!
}
# Processor time (user + system) of a process in clock ticks, from /proc.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

pages=0
page() { if wait_for_page "$1" "$2"; then pages=$((pages + 1)); else return 1; fi; }
press_english() { press_button $(((WIZARD_WIDTH - 60) / 2)) "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT"; }
idle_percent=""
update_seconds=""

# ---- first run: a write failure, the folder typed, the update to its end ----
update_run() {
  local ticks0 ticks1 time0 time1 field="$SCREEN_FOLDER/field_before.rgb"
  start_program "$delivery"
  find_wizard_window 60 || { no_window; return 1; }
  page choose_language 30 || return 1

  # Idle: the language page shown, no input. The 10 seconds are the measuring window.
  ticks0=$(cpu_ticks "$program_pid"); time0=$(date +%s%N)
  sleep 10
  ticks1=$(cpu_ticks "$program_pid"); time1=$(date +%s%N)
  idle_percent=$(awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v ns=$((time1 - time0)) \
    'BEGIN {printf "%.1f", 100 * t / hz / (ns / 1e9)}')

  press_english || return 1
  page confirm_versions 30 || return 1
  xdotool key Return  # Next: the stale folder has no "data", so the second file cannot be written
  page write_failed 60 || return 1
  capture_region $FIELD_X $FIELD_Y $FIELD_WIDTH $FIELD_HEIGHT >"$field"
  press_button "$LEFT_X" "$COMMAND_Y" 80 20 || return 1  # < Back
  wait_for 30 region_differs_from "$field" $FIELD_X $FIELD_Y $FIELD_WIDTH $FIELD_HEIGHT ||
    { echo "the folder page did not come" >&2; return 1; }
  local i
  for ((i = 0; i < ${#stale}; i++)); do
    press_key_changing $FIELD_X $FIELD_Y $FIELD_WIDTH $FIELD_HEIGHT BackSpace || return 1
  done
  type_into_field "$game" || return 1
  page enter_folder 30 || return 1
  xdotool key Return  # Next
  page confirm_versions 30 || return 1
  time0=$(date +%s%N)
  xdotool key Return  # Next: the update, now into the typed folder
  page quick_start_prompt 60 || return 1
  time1=$(date +%s%N)
  update_seconds=$(awk -v ns=$((time1 - time0)) 'BEGIN {printf "%.1f", ns / 1e9}')
  press_button "$LEFT_X" "$COMMAND_Y" 80 20 || return 1  # Yes
  page completed 30 || return 1
  press_button "$RIGHT_X" "$COMMAND_Y" 80 20 || return 1  # Finish
}
run_started=$(date +%s)
drive update_run
check test "$program_status" -eq 0
echo "linux wizard: the update run took $(($(date +%s) - run_started))s (10 of them measuring), $pages pages equal to their references"
echo "linux wizard: idle on the language page: ${idle_percent:-?}% of one processor over 10 s;" \
  "from Next to the quick-start page: ${update_seconds:-?} s"
check test "$pages" -eq 7
check awk -v p="${idle_percent:-100}" 'BEGIN {exit !(p < 5)}'

check cmp -s "$stale/tlf.exe" "$loose/tlf.exe"  # installed before the failure
check test "$(ls -A "$stale")" = "tlf.exe"         # and nothing else left there
check grep -q 'old tlf.exe' "$game/tlf.exe"        # not installed a second time
check check_installed "$loose" "$game" 1
check cmp -s "$game/readme.txt" "$loose/readme_eng.txt"
check test -f "$delivery/readme_eng.txt"
check test ! -e "$game/tlf.icd"
check test ! -e "$game/qstart/league.qst"
check test ! -e "$game/qstart/cup.qst"
check test -f "$game/qstart/notes.txt"
check bash -c "[ \$(find '$game' | wc -l) -eq $((${#PACKAGE_FILES[@]} + 6)) ]"  # no temporary file left
check grep -qx '"Version"="Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"' "$record"
check grep -qxF "\"Location\"=\"$stale\"" "$record"
check wait_for 10 grep -qxF "$game/readme.txt" "$work/opened"

# ---- second run: no "update.dat" ----
rm -rf "$game"
make_old_game "$game"
write_record "$game" Release
rm -f "$work/opened"
nopackage="$work/nopackage"
cp -R "$delivery" "$nopackage"
rm "$nopackage/update.dat"
before=$(snapshot "$game"; cat "$record")
pages=0
missing_run() {
  start_program "$nopackage"
  find_wizard_window 60 || { no_window; return 1; }
  page choose_language 30 || return 1
  press_english || return 1
  page confirm_versions 30 || return 1
  xdotool key Return  # Next
  page source_missing 60 || return 1
  xdotool key Return  # Exit
}
drive missing_run
check test "$program_status" -eq 0
check test "$pages" -eq 3
check test "$(snapshot "$game"; cat "$record")" = "$before"
check test ! -e "$work/opened"

finish
