#!/usr/bin/env bash
# The end-to-end walk of the real installer on a virtual X display, driven as players and their
# tools drive it: every Button one plain `xdotool click` (one click held until the Button sinks,
# for a slow click), a folder of 40 characters typed with no pause between keys.
#   tests/scripts/wizard_test.sh linux LINUX_BUILD               the SDL program on its own Xvfb
#   tests/scripts/wizard_test.sh wine WINDOWS_BUILD LINUX_BUILD  the .exe under Wine (wine_env.sh)
# The delivery is checked. The record names a stale copy of the game without "data": the language
# page idles 10 s (at most 5 % of a processor, from /proc) with the program's own arrow; English,
# Next: the write-failure page; < Back, the stale folder erased, the real one typed; Next, Next,
# Yes, Finish. Then every file, the readme, "tlf.icd", quick-start files, temporary files, the
# record and the exit code are checked, and the stale copy must be as it was. A second run, with
# 768 MiB more to install, Escape once the new "tlf.exe" is in place: exit 5, nothing changed (the
# sample's update is over too soon to be cancelled). Every page passed must equal its headless
# rendering (tlf_render_pages walk), which is also how each wait knows it has come. A damaged
# package: unattended_test.sh (exit 3 from both programs) and integrity_test.cpp (its page).
set -euo pipefail
platform=${1:?usage: wizard_test.sh linux LINUX_BUILD | wine WINDOWS_BUILD LINUX_BUILD}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
source "$here/wine_env.sh"
source "$here/../../tools/wizard_driver/wizard_screen.sh"
source "$here/checks.sh"
source "$here/integrity_checks.sh"
# A short name: the typed folder must fit the folder field.
work=$(mktemp -d /tmp/tlf-w.XXXXXX)
cleanup() { stop_program; [ "$platform" = linux ] && xvfb_stop; rm -rf "$work" "${game:-}" "${stale:-}"; }
trap cleanup EXIT
finish() { report_checks "$platform wizard"; exit; }

program_build=$(cd "$2" && pwd)
linux=$(cd "${3:-$2}" && pwd)
case "$platform" in
  linux)
    stale="$work/old"
    game="$work/tallyfield-game-folder"  # 40 characters
    typed=$game
    record="$work/registry.reg"
    write_record() {
      printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n"Location"="%s"\n"Version"="%s"\n' \
        "$1" "$2" >"$record"
    }
    read_record() { cat "$record"; }
    record_holds() { grep -qxF "\"$1\"=\"$2\"" "$record"; }
    # A stand-in for the desktop's document opener.
    mkdir "$work/bin" && printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open" && chmod +x "$work/bin/xdg-open"
    program=(env TLF_REGISTRY="$record" PATH="$work/bin:$PATH" SDL_VIDEODRIVER=x11 ./tlfupdate)
    ;;
  wine)
    stale="$WINEPREFIX/drive_c/stale"
    game="$WINEPREFIX/drive_c/Program Files/Tallyfield/Game Folders"
    typed='C:\Program Files\Tallyfield\Game Folders'  # 40 characters
    record_key='HKLM\Software\Quillbrook Ltd\Tallyfield'
    write_record() { for v in "Location=$1" "Version=$2"; do wine reg add "$record_key" /v "${v%%=*}" /t REG_SZ /d "${v#*=}" /reg:32 /f >/dev/null 2>&1 || return 1; done; }
    read_record() { wine reg query "$record_key" /reg:32 2>/dev/null | tr -d '\r'; }
    record_holds() { read_record | sed -n "s/^ *$1 *REG_SZ *//p" | grep -qxF "$2"; }
    program=(wine tlfupdate.exe)
    ;;
  *) echo "the platform is linux or wine" >&2; exit 2 ;;
esac
stale_name=$([ "$platform" = wine ] && echo 'C:\stale' || echo "$stale")

# ---- what is tested: the delivery folder, and the reference pages ----
REFERENCE_FOLDER="$work/reference"
SCREEN_FOLDER="$work/screen"
mkdir "$REFERENCE_FOLDER" "$SCREEN_FOLDER" "$work/unpacked"
if ! timeout 900 cmake --build "$program_build" --target delivery >"$work/build.log" 2>&1 ||
  ! timeout 900 cmake --build "$linux" --target tlf_render_pages >>"$work/build.log" 2>&1 ||
  ! timeout 300 "$linux/tlf_render_pages" walk "$REFERENCE_FOLDER" Release "$typed" >>"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  check false "the delivery is built and the reference pages rendered"
  finish
fi
delivery="$program_build/delivery/tallyfield_update"
loose=$(delivery_loose_files "$program_build")
wizard_layout "$delivery"

if [ "$platform" = linux ]; then
  tar -xzf "$program_build/delivery/tallyfield_update_linux.tar.gz" -C "$work/unpacked"
  # A delivery that cannot be made (a loose file missing) fails and leaves the last one alone.
  mkdir "$work/broken" "$work/last"
  cp "$loose"/* "$work/broken/"
  rm "$work/broken/weather.cfg"
  printf 'last delivery\n' >"$work/last/update.dat"
  check bash -c "! bash '$here/../../tools/make_delivery.sh' '$delivery/tlfupdate' '$work/broken' '$delivery' \
    '$work/last' '$work/last.tar.gz' >/dev/null 2>&1"
  check test "$(cat "$work/last/update.dat")" = "last delivery"
  check test "$(ls -A "$work" | grep -c '^\.delivery')" -eq 0
else
  unzip -q "$program_build/delivery/tallyfield_update_windows.zip" -d "$work/unpacked"
  # As shipped: no DLL beyond the system's; a manifest that asks for administrator rights.
  imports=$(x86_64-w64-mingw32-objdump -p "$delivery/tlfupdate.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  check test -n "$imports"
  check test -z "$(grep -vxE '(kernel32|user32|gdi32|advapi32|shell32|bcrypt|msvcrt|api-ms-win-.*)\.dll' <<<"$imports")"
  check grep -q 'requireAdministrator' "$delivery/tlfupdate.exe"
fi
check_delivery "$delivery" "$loose" "$work/unpacked"
check_checksum_list "$delivery" --ignore-missing

# ---- the game, and a stale copy of it that the record names ----
rm -rf "$game" "$stale"
make_old_game "$game"
mkdir "$stale"
printf 'old tlf.exe of a copy left behind\n' >"$stale/tlf.exe"
# Wine gives any file it names "*.exe" execute bits where it has read bits, so a put-back one too.
wine_exe() { [ "$platform" = linux ] || chmod a+x "$1/tlf.exe"; }
wine_exe "$stale"
stale_before=$(snapshot "$stale")
check write_record "$stale_name" Release
[ "$platform" = linux ] && { xvfb_start "$work" || { check false "Xvfb starts"; finish; }; }
cc -O1 "$here/cursor_probe.c" -lX11 -lXfixes -o "$work/cursor_probe"
PROGRAM_LOG="$work/program.log"

# Processor time (user + system) of a process in clock ticks, from /proc.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
# The pointer shown now is the picture of an .art file of the program's artwork.
cursor_is() {
  "$work/cursor_probe" >"$work/cursor.txt" || return 1
  sed -n '/^pixels$/,$p' "$here/../../data/artwork/$1.art" | tail -n +2 >"$work/expected.txt"
  tail -n +2 "$work/cursor.txt" | cut -c1-32 | head -n 32 >"$work/shown.txt"
  head -n 1 "$work/cursor.txt" | grep -q '^32 32 0 0$' && cmp -s "$work/expected.txt" "$work/shown.txt"
}

english_x=$(((WIZARD_WIDTH - 60) / 2))
# open_wizard FOLDER: the program started from FOLDER, up to its language page.
open_wizard() {
  (cd "$1" && exec "${program[@]}") >"$PROGRAM_LOG" 2>&1 &
  program_pid=$!
  find_wizard_window 120 || { no_window; return 1; }
  wait_for_page choose_language 60
}

# ---- first run: a write failure, the folder typed, the update to its end ----
update_run() {
  local ticks0 ticks1 time0 time1
  open_wizard "$delivery" || return 1
  point_at "$english_x" "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT"
  wait_for 10 cursor_is arrow || { echo "the pointer is not the program's arrow" >&2; return 1; }

  # Idle: the language page shown, no input. The 10 seconds are the measuring window.
  # Under Wine too the process started is the one that runs tlfupdate.exe.
  ticks0=$(cpu_ticks "$program_pid"); time0=$(date +%s%N)
  sleep 10
  ticks1=$(cpu_ticks "$program_pid"); time1=$(date +%s%N)
  idle_percent=$(awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v ns=$((time1 - time0)) \
    'BEGIN {printf "%.1f", 100 * t / hz / (ns / 1e9)}')

  hold_button "$english_x" "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT" || return 1  # the slow click
  wait_for_page confirm_versions 30 || return 1
  click_button "$RIGHT_X" "$COMMAND_Y" 80 20  # Next: "data" is missing, so the second file fails
  wait_for_page write_failed 60 || return 1
  capture_region $FIELD_X $FIELD_Y $FIELD_WIDTH $FIELD_HEIGHT >"$work/field.rgb"
  click_button "$LEFT_X" "$COMMAND_Y" 80 20  # < Back
  wait_for 30 region_differs_from "$work/field.rgb" $FIELD_X $FIELD_Y $FIELD_WIDTH $FIELD_HEIGHT ||
    { echo "the folder page did not come" >&2; return 1; }
  xdotool key --delay 0 $(printf 'BackSpace %.0s' $(seq ${#stale_name}))
  xdotool type --delay 0 -- "$typed"
  wait_for_page enter_folder 30 || return 1
  click_button "$RIGHT_X" "$COMMAND_Y" 80 20  # Next
  wait_for_page confirm_versions 30 || return 1
  click_button "$RIGHT_X" "$COMMAND_Y" 80 20  # Next: the update, now into the typed folder
  wait_for_page quick_start_prompt 120 || return 1
  click_button "$LEFT_X" "$COMMAND_Y" 80 20  # Yes
  wait_for_page completed 30 || return 1
  click_button "$RIGHT_X" "$COMMAND_Y" 80 20  # Finish
}
drive update_run
check test "$program_status" -eq 0
check awk -v p="${idle_percent:-100}" 'BEGIN {exit !(p < 5)}'  # per cent of one processor, idle

check test "$(snapshot "$stale")" = "$stale_before"  # put back when the other folder was typed
check check_installed "$loose" "$game"
check cmp -s "$game/readme.txt" "$loose/readme_eng.txt"
check test ! -e "$game/tlf.icd" -a ! -e "$game/qstart/league.qst" -a ! -e "$game/qstart/cup.qst" -a -f "$game/qstart/notes.txt"
check bash -c "[ \$(find '$game' | wc -l) -eq $((${#PACKAGE_FILES[@]} + 6)) ]"  # no temporary file left
check record_holds Version "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"
check record_holds Location "$stale_name"
[ "$platform" = linux ] && check wait_for 10 grep -qxF "$game/readme.txt" "$work/opened"

# ---- second run: Escape once the new "tlf.exe" is in place, three later entries 256 MiB each ----
big="$work/big"
mkdir "$big" && "$linux/make_sample_update" "$big" >/dev/null && truncate -s 256M "$big"/{club,common_names,staff}.dat
(cd "$big" && env -u DISPLAY "$linux/tlfupdate" -pack 2>/dev/null) && cp "$delivery"/{*.fnt,tlfupdate*} "$big/"
rm -rf "$game" && make_old_game "$game" && wine_exe "$game"
write_record "$typed" Release
before=$(snapshot "$game"; read_record)
escape_run() {
  open_wizard "$big" || return 1
  click_button "$english_x" "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT"
  wait_for_page confirm_versions 30 || return 1
  xdotool key Return  # Next
  wait_for 60 cmp -s "$game/tlf.exe" "$big/tlf.exe" || return 1
  xdotool key Escape
}
drive escape_run
check test "$program_status" -eq 5  # cancelled before the update was complete
check test "$(snapshot "$game"; read_record)" = "$before"

finish
