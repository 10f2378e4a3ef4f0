#!/usr/bin/env bash
# Runs the installer's tests (tests_e2e) under valgrind's memcheck, all but the fault cases
# that fork a child (the children end with _exit, leaving by design what a killed process
# leaves). Fails on any memory error and on any leak (definite, indirect or possible).
#   bash tests/scripts/linux_memcheck_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
log=$(mktemp -d "${TMPDIR:-/tmp}/tlf-memcheck.XXXXXX")
trap 'rm -rf "$log"' EXIT

name=tests_e2e
if ! timeout 900 valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
     --errors-for-leak-kinds=definite,indirect,possible --show-leak-kinds=definite,indirect,possible \
     --track-origins=no --log-file="$log/$name.txt" "$build/tests/$name" --gtest_filter='-FaultMatrixInAChild.*:KillPoints.*' \
     >"$log/$name.out" 2>&1; then
  echo "memcheck: $name FAILED"
  tail -n 40 "$log/$name.txt"
  tail -n 20 "$log/$name.out"
  exit 1
fi
# Any error or leak would have failed the run above (--error-exitcode).
echo "memcheck: $name: $(grep -cE '^\[ +OK \]' "$log/$name.out") tests passed, 0 errors, 0 leaks, $SECONDS s"
