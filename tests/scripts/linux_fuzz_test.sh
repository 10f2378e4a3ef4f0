#!/usr/bin/env bash
# Fuzzes every reader for a bounded time (the asan build's libFuzzer targets, ASan, UBSan): replays each
# target's corpus (tests/fuzz/corpus/<target>/), then fuzzes a copy of it FUZZ_SECONDS (4; twice
# for the window procedure). A finding fails the run and is kept there as regression-<hash>.
#   bash tests/scripts/linux_fuzz_test.sh [linux build folder, unused]
#   FUZZ_SECONDS=60 bash tests/scripts/linux_fuzz_test.sh      longer runs
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
seconds=${FUZZ_SECONDS:-4}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_targets >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/tlf-fuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
# edges reached of all instrumented (most lie in library code a target never calls).
printf '%-20s %12s %8s %16s %8s\n' target executions "exec/s" "edges reached" features
for program in build/asan/tests/fuzz/fuzz_*; do
  [ -x "$program" ] || continue
  target=$(basename "$program")
  corpus=tests/fuzz/corpus/$target
  log=$work/$target.log
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  cp "$corpus"/* "$work/$target/corpus/"
  # -close_fd_mask=1: the program's own output is not the run's.
  if ! "$program" -runs=0 -close_fd_mask=1 "$corpus" >"$log.replay" 2>&1; then
    echo "$target: a committed input fails:"; tail -n 40 "$log.replay"; failed=1; continue
  fi
  budget=$seconds
  [ "$target" = fuzz_window_proc ] && budget=$((seconds * 2))
  if ! "$program" -max_total_time="$budget" -print_final_stats=1 -close_fd_mask=1 -rss_limit_mb=2048 \
       -timeout=10 -max_len=65536 -artifact_prefix="$work/$target/findings/" "$work/$target/corpus" >"$log" 2>&1; then
    failed=1
    echo "$target: finding:"; grep -E 'ERROR|fuzz check failed|runtime error|SUMMARY' "$log" | head -n 10
    for finding in "$work/$target/findings"/*; do
      [ -f "$finding" ] || continue
      kept=$corpus/regression-$(sha1sum "$finding" | cut -c1-12)
      cp "$finding" "$kept"
      echo "$target: input kept as $kept"
    done
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1 | awk '{print $2, $4}')
  instrumented=$(grep -oE '\(([0-9]+) inline 8-bit counters\)' "$log" | head -n 1 | tr -dc 0-9)
  read -r edges features <<<"${coverage:-? ?}"
  printf '%-20s %12s %8s %16s %8s\n' "$target" "${executions:-?}" "${rate:-?}" "$edges/${instrumented:-?}" "$features"
done

[ "$failed" = 0 ] || { echo "fuzzing found faults (inputs kept in tests/fuzz/corpus)"; exit 1; }
echo "fuzzing: no finding"
