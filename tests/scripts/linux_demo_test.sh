#!/usr/bin/env bash
# README's demo command with no display: the scripted English install reaches the completed
# page, replaces the game's files, removes "tlf.icd" and the quick-start files, records the new
# version and writes the pictures of the pages.
#   tests/scripts/linux_demo_test.sh BUILD_FOLDER   (the demo always uses build/linux)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp /tmp/tlf-demo.XXXXXX)
trap 'rm -f "$out"' EXIT
source "$(dirname "$0")/checks.sh"

check env -u DISPLAY -u WAYLAND_DISPLAY timeout 600 bash "$top/tools/demo.sh" >"$out" 2>&1  # a failure printed below
check grep -q "demo: ended on the page completed" "$out"
check grep -q "files now holding the new edition: 43 of 47" "$out"
check grep -q "removed  ./tlf.icd" "$out"
check grep -q "removed  ./qstart/premier.qst" "$out"
check grep -q 'record now: "Version"="Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"' "$out"
check test -s "$top/build/demo/pages/5_completed.png"
[ "$failed" -eq 0 ] || cat "$out" >&2
report_checks "linux demo"
