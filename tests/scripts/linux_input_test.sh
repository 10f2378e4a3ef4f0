#!/usr/bin/env bash
# The input test window of the SDL program under its own Xvfb with real xdotool events.
#   tests/scripts/linux_input_test.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
env -u DISPLAY bash "$here/../input/test_window_check.sh" linux "$1"
echo "linux input window: 1 passed, 0 failed"
