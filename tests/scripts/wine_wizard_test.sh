#!/usr/bin/env bash
# End-to-end check of the Windows installer under Wine, driven like a person with xdotool: the
# delivery folder is built, the record is set as the game's 32-bit setup sets it, and the .exe is
# started from the delivery folder on a game under the prefix's drive C. English, the version
# page, Enter, Yes to the quick-start question, Finish; afterwards every packed file is in the
# game byte for byte, the readme is in place (and still in the delivery folder), "tlf.icd" and
# the quick-start files are gone, the record holds the new version and the exit code is 0. A
# second run without "update.dat" ends on the page "Unable to find a source file" and changes
# nothing. Every page passed is compared with the headless rendering of the same state (pixel
# parity), which is also how each wait knows that the page has come.
# Needs wine_env.sh's display and prefix (tools/run_tests.sh starts them).
#   tests/scripts/wine_wizard_test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
source "$here/wine_env.sh"
source "$here/wizard_screen.sh"
started=$(date +%s)
work=$(mktemp -d /tmp/tlf-wine-wizard.XXXXXX)
cleanup() { stop_program; rm -rf "$work" "${game:-}" "${unpacked:-}"; }
trap cleanup EXIT
source "$here/checks.sh"
finish() {
  echo "wine wizard: took $(($(date +%s) - started))s"
  report_checks "wine wizard"
  exit
}

record_key='HKLM\Software\Quillbrook Ltd\Tallyfield'
record_query() { wine reg query "$record_key" /reg:32 2>/dev/null | tr -d '\r'; }
record_set() { wine reg add "$record_key" /v "$1" /t REG_SZ /d "$2" /reg:32 /f >/dev/null 2>&1; }

# ---- what is tested: the delivery folder of the Windows build, and the reference pages ----
if ! timeout 900 cmake --build "$windows" --target delivery >"$work/delivery.log" 2>&1; then
  cat "$work/delivery.log" >&2
  check false "the delivery target builds"
  finish
fi
delivery="$windows/delivery/tallyfield_update"
loose=$(delivery_loose_files "$windows")
REFERENCE_FOLDER="$work/reference"
SCREEN_FOLDER="$work/screen"
mkdir "$REFERENCE_FOLDER" "$SCREEN_FOLDER"
if ! timeout 900 cmake --build "$linux" --target tests_e2e >"$work/reference.log" 2>&1 ||
  ! TLF_REFERENCE_PAGES="$REFERENCE_FOLDER" TLF_REFERENCE_VERSION=Release \
    timeout 300 "$linux/tests/tests_e2e" --gtest_filter='ReferencePages.*' >>"$work/reference.log" 2>&1; then
  cat "$work/reference.log" >&2
  check false "the reference pages are rendered"
  finish
fi
wizard_layout "$delivery"

# The folder and its archive: program, fonts, readmes and a package of the loose files.
unpacked=$(mktemp -d /tmp/tlf-wine-unzip.XXXXXX)
unzip -q "$windows/delivery/tallyfield_update_windows.zip" -d "$unpacked"
check_delivery "$delivery" "$loose" "$unpacked"

# The program as shipped: no DLL beyond the system's; a manifest that asks for administrator rights.
imports=$(x86_64-w64-mingw32-objdump -p "$delivery/tlfupdate.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
system_dll() { case "$1" in kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | bcrypt.dll | msvcrt.dll | api-ms-win-*) ;; *) return 1 ;; esac; }
check test -n "$imports"
for dll in $imports; do check system_dll "$dll"; done
check grep -q 'requireAdministrator' "$delivery/tlfupdate.exe"

# ---- the game and its record, as the game's 32-bit setup leaves them ----
game="$WINEPREFIX/drive_c/Games/Tallyfield"
rm -rf "$game"
make_old_game "$game"
check record_set Location 'C:\Games\Tallyfield'
check record_set Version Release
# The 64-bit view does not hold the record: a program reading it would find no game.
check bash -c "! wine reg query '$record_key' /reg:64 >/dev/null 2>&1"

PROGRAM_LOG="$work/wine.log"
# start_program FOLDER: the installer, started in FOLDER as Explorer starts it.
start_program() {
  (cd "$1" && exec wine tlfupdate.exe) >"$PROGRAM_LOG" 2>&1 &
  program_pid=$!
}

# ---- first run: the whole update, driven like a person ----
pages=0
page() { if wait_for_page "$1" "$2"; then pages=$((pages + 1)); else return 1; fi; }
update_run() {
  start_program "$delivery"
  find_wizard_window 120 || { no_window; return 1; }
  page choose_language 60 || return 1
  press_button $(((WIZARD_WIDTH - 60) / 2)) "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT" || return 1  # Install in English
  page confirm_versions 30 || return 1
  xdotool key Return  # Next
  page quick_start_prompt 60 || return 1
  press_button "$LEFT_X" "$COMMAND_Y" 80 20 || return 1  # Yes
  page completed 30 || return 1
  press_button "$RIGHT_X" "$COMMAND_Y" 80 20 || return 1  # Finish
}
run_started=$(date +%s)
drive update_run
check test "$program_status" -eq 0
echo "wine wizard: the update run took $(($(date +%s) - run_started))s, $pages pages equal to their references"
check test "$pages" -eq 4

check check_installed "$loose" "$game"
check cmp -s "$game/readme.txt" "$loose/readme_eng.txt"
check test -f "$delivery/readme_eng.txt"
check test ! -e "$game/tlf.icd"
check test ! -e "$game/qstart/league.qst"
check test ! -e "$game/qstart/cup.qst"
check test -f "$game/qstart/notes.txt"
check bash -c "[ \$(find '$game' | wc -l) -eq $((${#PACKAGE_FILES[@]} + 6)) ]"  # no temporary file left
check grep -q 'Version *REG_SZ *Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)$' <(record_query)
check grep -q 'Location *REG_SZ *C:\\Games\\Tallyfield$' <(record_query)

# ---- second run: no "update.dat" ----
rm -rf "$game"
make_old_game "$game"
check record_set Version Release
nopackage="$WINEPREFIX/drive_c/nopackage"
rm -rf "$nopackage"
cp -R "$delivery" "$nopackage"
rm "$nopackage/update.dat"
before=$(snapshot "$game"; record_query)
pages=0
missing_run() {
  start_program "$nopackage"
  find_wizard_window 120 || { no_window; return 1; }
  page choose_language 60 || return 1
  press_button $(((WIZARD_WIDTH - 60) / 2)) "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT" || return 1
  page confirm_versions 30 || return 1
  xdotool key Return  # Next
  page source_missing 60 || return 1
  xdotool key Return  # Exit
}
drive missing_run
check test "$program_status" -eq 0
check test "$pages" -eq 3
check test "$(snapshot "$game"; record_query)" = "$before"
rm -rf "$nopackage"

finish
