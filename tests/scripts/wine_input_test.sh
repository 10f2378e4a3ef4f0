#!/usr/bin/env bash
# The input test window of the Windows program under Wine with real xdotool events.
#   tests/scripts/wine_input_test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/../input/test_window_check.sh" windows "$1"
echo "wine input window: 1 passed, 0 failed"
