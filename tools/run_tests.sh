#!/usr/bin/env bash
# Runs every test on a fresh machine: installs what is missing, builds the Linux program, the
# sanitizer build and the Windows program, runs the unit tests natively, under the sanitizers and
# under Wine, then the end-to-end checks of the real programs.
#
#   tools/run_tests.sh            everything
#   TLF_SKIP_WINDOWS=1 ...        leave out the Windows build and Wine (a quick local run)
#   TLF_SKIP_ASAN=1 ...           leave out the sanitizer build
set -euo pipefail
shopt -s nullglob
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
started=$(date +%s)

step() { printf '\n== %s (%ss)\n' "$*" "$(( $(date +%s) - started ))"; }

step "setup"
bash tools/setup.sh

step "Linux build"
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$jobs"

step "Linux tests"
ctest --preset linux -j"$jobs"

if [ "${TLF_SKIP_ASAN:-0}" != 1 ]; then
  step "sanitizer build (the tests and the fuzz targets) and tests"
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j"$jobs"
fi

# Every tests/scripts/linux_*_test.sh takes the Linux build folder; every wine_*_test.sh takes
# the Windows and the Linux build folders and runs with the Wine prefix and display below. The
# other *_test.sh scripts drive both programs: "linux build/linux", then "wine build/windows
# build/linux".
platform_scripts=()
for script in tests/scripts/*_test.sh; do
  case "$(basename "$script")" in linux_* | wine_*) ;; *) platform_scripts+=("$script") ;; esac
done
for script in tests/scripts/linux_*_test.sh; do
  step "end to end: $(basename "$script" .sh)"
  bash "$script" build/linux
done
for script in "${platform_scripts[@]}"; do
  step "end to end, Linux: $(basename "$script" .sh)"
  bash "$script" linux build/linux
done

if [ "${TLF_SKIP_WINDOWS:-0}" != 1 ]; then
  step "Windows build"
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j"$jobs"

  # One Wine prefix and one virtual display for every Windows check, removed at the end.
  source tests/scripts/wine_env.sh
  wine_env_start
  trap wine_env_stop EXIT

  step "Windows tests under Wine"
  ctest --preset windows -j1
  timeout 60 wineserver -w || true

  # Scripts run the program without a display in this prefix too: the Wine server (and the desktop
  # it made without a display) is let end after each, so that the next script's windows are made on
  # the virtual display, never on a desktop that has none.
  for script in tests/scripts/wine_*_test.sh; do
    step "end to end under Wine: $(basename "$script" .sh)"
    bash "$script" build/windows build/linux
    timeout 60 wineserver -w || true
  done
  for script in "${platform_scripts[@]}"; do
    step "end to end under Wine: $(basename "$script" .sh)"
    bash "$script" wine build/windows build/linux
    timeout 60 wineserver -w || true
  done
fi

step "all tests passed"
