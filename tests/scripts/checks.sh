# checks.sh: sourced by the end-to-end scripts. Counts checks and prints the closing line.
passed=0 failed=0
# Runs a command as one check: a failure is printed and counted, and the script goes on.
check() { if "$@"; then passed=$((passed + 1)); else echo "FAILED: $*" >&2; failed=$((failed + 1)); fi; }
# Prints "NAME: N passed, N failed"; succeeds when nothing failed.
report_checks() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
