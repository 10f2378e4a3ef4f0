#!/usr/bin/env bash
# Times the whole update of the Windows program under Wine, through its wizard, for two builds of
# tlfupdate.exe side by side (runs interleaved, A then B, on the same files): from the click on
# Next on the version page to the quick-start page, i.e. every file of the update extracted and
# flushed. For checking that a change to the program's loop or presentation does not slow the
# update. Never part of the tests.
#
#   tools/bench_wine_install.sh EXE_A EXE_B [RUNS]
#   TLF_BENCH_MIB=1000   MiB added to the sample update (about 1 GiB in all)
#
# Needs the Linux build (build/linux: make_sample_update, the packer and tlf_render_pages). Starts its own Xvfb and Wine prefix and stops them by process id. Prints one line a
# run and the median of each build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe_a=$(realpath "${1:?usage: bench_wine_install.sh EXE_A EXE_B [RUNS]}")
exe_b=$(realpath "${2:?usage: bench_wine_install.sh EXE_A EXE_B [RUNS]}")
runs=${3:-3}
mib=${TLF_BENCH_MIB:-1000}
linux="$top/build/linux"
source "$top/tests/scripts/package_files.sh"
source "$top/tests/scripts/wine_env.sh"
source "$top/tools/wizard_driver/wizard_screen.sh"
wine_env_start
work="$TLF_WINE_TMP/bench"
program_pid=""
trap 'stop_program; wine_env_stop' EXIT
mkdir -p "$work/loose" "$work/reference" "$work/screen"
REFERENCE_FOLDER="$work/reference"
SCREEN_FOLDER="$work/screen"

"$linux/make_sample_update" "$work/loose" --scale-mib "$mib" >/dev/null
(cd "$work/loose" && env -u DISPLAY "$linux/tlfupdate" -pack) 2>/dev/null
delivery="$WINEPREFIX/drive_c/update"
mkdir -p "$delivery"
cp "$work/loose/update.dat" "$work/loose"/readme_*.txt "$top"/data/fonts/*.fnt "$delivery/"
"$linux/tlf_render_pages" walk "$REFERENCE_FOLDER" Release "" >/dev/null
wizard_layout "$delivery"
game="$WINEPREFIX/drive_c/game"
record_key='HKLM\Software\Quillbrook Ltd\Tallyfield'

# one_update EXE: seconds from Next to the quick-start page.
one_update() {
  rm -rf "$game"
  make_old_game "$game"
  wine reg add "$record_key" /v Location /t REG_SZ /d 'C:\game' /reg:32 /f >/dev/null 2>&1
  wine reg add "$record_key" /v Version /t REG_SZ /d Release /reg:32 /f >/dev/null 2>&1
  cp "$1" "$delivery/tlfupdate.exe"
  sync
  (cd "$delivery" && exec wine tlfupdate.exe) >/dev/null 2>&1 &
  program_pid=$!
  find_wizard_window 120 && wait_for_page choose_language 60 || return 1
  hold_button $(((WIZARD_WIDTH - 60) / 2)) "$LANGUAGE_Y" 60 "$LANGUAGE_HEIGHT"
  wait_for_page confirm_versions 30 || return 1
  local t0 t1
  t0=$(date +%s%N)
  hold_button "$RIGHT_X" "$COMMAND_Y" 80 20
  wait_for_page quick_start_prompt 600 || return 1
  t1=$(date +%s%N)
  hold_button "$LEFT_X" "$COMMAND_Y" 80 20
  wait_for_page completed 30 || return 1
  hold_button "$RIGHT_X" "$COMMAND_Y" 80 20
  wait_program_end 60
  check_installed "$work/loose" "$game" || return 1
  awk -v ns=$((t1 - t0)) 'BEGIN {printf "%.2f\n", ns / 1e9}'
}

: >"$work/a.txt"
: >"$work/b.txt"
for ((run = 1; run <= runs; run++)); do
  a=$(one_update "$exe_a") || { echo "run $run of A failed" >&2; exit 1; }
  b=$(one_update "$exe_b") || { echo "run $run of B failed" >&2; exit 1; }
  echo "run $run: A $a s, B $b s"
  echo "$a" >>"$work/a.txt"
  echo "$b" >>"$work/b.txt"
done
median() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "median of $runs: A $(median "$work/a.txt") s, B $(median "$work/b.txt") s (${mib} MiB added to the sample)"
