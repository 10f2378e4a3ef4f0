#!/usr/bin/env bash
# Line and branch coverage that each fuzz target reaches in the module it fuzzes, for
# docs/RELIABILITY.md (not part of the test command). Fuzzes each target for FUZZ_SECONDS
# (default 15) with the asan build, keeping the grown corpus, then replays that corpus
# with a second build instrumented for source coverage (build/fuzz-cov) and reports the
# target's own source files with llvm-cov.
#   bash tools/fuzz_coverage_report.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${FUZZ_SECONDS:-15}
flags="-fsanitize=fuzzer-no-link -fprofile-instr-generate -fcoverage-mapping"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_targets >/dev/null
cmake --preset fuzz -B build/fuzz-cov -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" -DTLF_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz-cov -j"$(nproc)" --target fuzz_targets >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/tlf-fuzz-cov.XXXXXX")
trap 'rm -rf "$work"' EXIT

sources_of() {
  case $1 in
    fuzz_font) echo gfx/font.cpp ;;
    fuzz_package) echo package/update_package.cpp ;;
    fuzz_record) echo platform/posix/posix_record_file.cpp platform/posix/posix_record_text.cpp ;;
    fuzz_run_length) echo framework/file_stream.cpp ;;
    fuzz_wrap) echo gfx/button.cpp ;;
    fuzz_window_proc) echo framework/display.cpp app/wizard_flow.cpp app/wizard_pages.cpp ;;
  esac
}

for program in build/asan/tests/fuzz/fuzz_*; do
  target=$(basename "$program")
  mkdir -p "$work/$target"
  cp tests/fuzz/corpus/"$target"/* "$work/$target/"
  budget=$seconds
  [ "$target" = fuzz_window_proc ] && budget=$((seconds * 2))
  "$program" -max_total_time="$budget" -close_fd_mask=3 -max_len=65536 "$work/$target" >/dev/null 2>&1 || true
  LLVM_PROFILE_FILE="$work/$target.profraw" build/fuzz-cov/tests/fuzz/"$target" -runs=0 -close_fd_mask=3 \
    "$work/$target" >/dev/null 2>&1 || true
  llvm-profdata merge -sparse "$work/$target.profraw" -o "$work/$target.profdata"
  echo "== $target ($(ls "$work/$target" | wc -l) inputs in the corpus)"
  # shellcheck disable=SC2046
  llvm-cov report build/fuzz-cov/tests/fuzz/"$target" -instr-profile="$work/$target.profdata" \
    $(sources_of "$target") | awk -v top="$top/" '/\.cpp/ {sub(top, "", $1); printf "  %-40s lines %8s  branches %8s\n", $1, $10, $13}'
done
