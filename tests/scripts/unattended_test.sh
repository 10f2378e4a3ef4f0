#!/usr/bin/env bash
# The unattended runs of the real program on fresh games: VERYSILENT with no display (code, files,
# record, log), DIR= without a record (with LANG= and NOQSTDELETE), one run per failure exit
# code, SILENT on the display.
#   tests/scripts/unattended_test.sh linux LINUX_BUILD
#   tests/scripts/unattended_test.sh wine WINDOWS_BUILD LINUX_BUILD   (in wine_env.sh's display and prefix)
set -euo pipefail
platform=$1
source "$(dirname "$0")/delivered_program.sh" un "${3:-$2}"
source "$here/wine_env.sh"
trap 'kill ${xev_pid:-} 2>/dev/null || true; [ "$platform" = wine ] || xvfb_stop; rm -rf "$work" "${games:-}"' EXIT
use_program "$platform" "$2" tlfun
# game NAME [Location]: a fresh old game; with "Location" also a fresh record naming it. Under Wine
# "tlf.exe" has execute bits where it has read bits, as Wine gives any file it names "*.exe".
game() {
  rm -rf "$games/$1"; make_old_game "$games/$1"; [ "$platform" = linux ] || chmod a+x "$games/$1/tlf.exe"
  record_clear; [ -z "${2:-}" ] || record_make "$(win "$1")"
}
updated() {  # updated NAME: every file, the readme, the deleted files, the record
  check check_installed "$loose" "$games/$1"
  check cmp -s "$games/$1/readme.txt" "$loose/readme_eng.txt"
  check test ! -e "$games/$1/tlf.icd" -a ! -e "$games/$1/qstart/cup.qst" -a -e "$games/$1/qstart/notes.txt"
  check test "$(record_version)" = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"
}
mkdir -p "$work/bin"
# A readme opened on Linux leaves a mark (no unattended run may open it).
printf '#!/bin/sh\ntouch "$0.called"\n' >"$work/bin/xdg-open" && chmod +x "$work/bin/xdg-open" && PATH="$work/bin:$PATH"

# VERYSILENT with no display; the log is appended to.
game a Location
echo "earlier line" >"$upd/run.log"
check run 0 /VERYSILENT /LOG=run.log
updated a
check test "$(grep -c ' written [0-9]*/47: ' "$upd/run.log")" -eq 47
for line in 'earlier line' 'start: ' 'language: eng' "folder: $(win a)" 'installed version: Version 3.02 (ENG)' \
  'new version: Version 3.04e' 'record: "Version" is now' 'quick-start files deleted' 'end: updated, exit code 0'; do
  check grep -qF "$line" "$upd/run.log"
done

# DIR= on a game without a record, a blank in its path; the record is made with "Version". In
# Italian, keeping the quick-start files.
game 'my game'
check run 0 --verysilent "--dir=$(win 'my game')" /NOQSTDELETE /LANG=ita
check check_installed "$loose" "$games/my game"
check cmp -s "$games/my game/readme.txt" "$loose/readme_ita.txt"
check test ! -e "$games/my game/tlf.icd" -a -e "$games/my game/qstart/cup.qst"
check test "$(record_version)" = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"

# Failures: each its exit code; the log and standard error say why. (A package damaged without
# changing its length, found by its checksum list: integrity_test.cpp, on the real files.)
game b
before=$(snapshot "$games/b")
check run 2 /VERYSILENT /LOG=fail.log
check grep -qF 'not installed: no installation record' "$upd/fail.log"
check run 6 /VERYSILENT /BOGUS "/DIR=$(win b)"
cp "$upd/update.dat" "$work/whole.dat" && head -c 100000 "$work/whole.dat" >"$upd/update.dat"
check run 3 /verysilent "/dir=$(win b)" /LOG=fail.log
cp "$work/whole.dat" "$upd/update.dat"
check grep -qF 'package corrupt: "update.dat"' "$upd/fail.log"
check test "$(snapshot "$games/b")" = "$before"
rm -rf "$games/c" && mkdir -p "$games/c" && echo old >"$games/c/tlf.exe"  # no "data" folder
check run 4 /VERYSILENT "/DIR=$(win c)" /LOG=fail.log
check grep -qF "write failed: $(win c)" "$upd/fail.log"
check grep -qF 'end: write failed, exit code 4' "$upd/fail.log"
check grep -q 'write failed: .*euro.cfg: The folder does not exist' "$work/err"
check run 6 /VERYSILENT /BOGUS
check grep -q 'Unknown switch "/BOGUS"' "$work/err"
if [ "$platform" = linux ]; then
  check run 0 /?
  check grep -q '^Usage: tlfupdate' "$work/out"
  game t Location  # progress lines when standard error is a terminal
  check grep -q 'written 47/47' <(cd "$upd" && env -u DISPLAY script -qec './tlfupdate /VERYSILENT' /dev/null)
  xvfb_start "$work"
  # With a display, a command-line fault is also shown in a box (found by its title in the window
  # tree: its name is typed UTF-8, which xdotool does not match) and closed with Return.
  (cd "$upd" && exec ./tlfupdate /BOGUS) >/dev/null 2>"$work/err" &
  program_pid=$!
  error_box() { xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Error".*/\1/p' | grep .; }
  check wait_for 30 error_box
  xdotool windowfocus --sync "$(error_box)" key Return || true
  wait_program_end 30
  check test "$program_status" -eq 6
  check grep -q 'Unknown switch "/BOGUS"' "$work/err"
else
  # Started by `start /wait` from a console, as README shows: the message reaches that console.
  status=0
  (cd "$upd" && timeout 120 script -qec 'wine cmd /c "start /wait tlfupdate.exe /VERYSILENT /BOGUS"' /dev/null) \
    >"$work/console" 2>&1 || status=$?
  check test "$status" -eq 6
  check grep -qF 'Unknown switch "/BOGUS"' <(sed 's/\x1b\[1C/ /g; s/\x1b\[[0-9;?]*[A-Za-z]//g' "$work/console")
  # The usage in a message box, closed with Return.
  (cd "$upd" && exec "${program[@]}" /?) >/dev/null 2>&1 &
  program_pid=$!
  check wait_for 60 xdotool search --onlyvisible --name "$WIZARD_TITLE"
  xdotool search --onlyvisible --name "$WIZARD_TITLE" windowfocus --sync key Return || true
  wait_program_end 30
  check test "$program_status" -eq 0  # 255 when the box did not close
fi

# SILENT on the display: a window is mapped (seen by xev, ready once it reports a root property),
# and the run ends by itself.
game s Location
xev -root -event substructure -event property >"$work/xev" 2>&1 &
xev_pid=$!
check wait_for 20 bash -c "xprop -root -f _TLF_READY 8s -set _TLF_READY 1 && grep -q _TLF_READY '$work/xev'"
(cd "$upd" && timeout 120 "${program[@]}" /SILENT) >"$work/silent.log" 2>&1 && status=0 || status=$?
check test "$status" -eq 0
check grep -q MapNotify "$work/xev"
kill "$xev_pid"
updated s
check test ! -e "$work/bin/xdg-open.called"
report_checks "unattended $platform"
