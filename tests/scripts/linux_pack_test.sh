#!/usr/bin/env bash
# End-to-end checks of the Linux program's pack mode with no display: the sample update is packed
# into a correct "update.dat", the message goes to standard error, and a failed pack exits 1 and
# leaves an existing package and the folder as they were.
#   tests/scripts/linux_pack_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/package_files.sh"
work=$(mktemp -d /tmp/tlf-linux-pack.XXXXXX)
trap 'rm -rf "$work"' EXIT
source "$here/checks.sh"
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY "$@"; }

mkdir "$work/update"
"$build/make_sample_update" "$work/update" >/dev/null
cp "$build/tlfupdate" "$work/update/"

# A successful pack.
status=0
(cd "$work/update" && nodisplay timeout 120 ./tlfupdate -pack) 2>"$work/stderr" || status=$?
check test "$status" -eq 0
check grep -q "Setup" "$work/stderr"
check grep -q "Packed files successfully !" "$work/stderr"
check check_package "$work/update"

# "-pack" inside a longer word also packs.
rm "$work/update/update.dat"
(cd "$work/update" && nodisplay timeout 120 ./tlfupdate --packages-please) 2>/dev/null || status=$?
check test -f "$work/update/update.dat"

# A missing loose file: exit 1, the message, the old package kept, nothing else left behind.
cp -a "$work/update" "$work/broken"
rm "$work/broken/changes.txt"
printf 'old package' >"$work/broken/update.dat"
before=$(ls -A "$work/broken")
status=0
(cd "$work/broken" && nodisplay timeout 120 ./tlfupdate -pack) 2>"$work/stderr" || status=$?
check test "$status" -eq 1
check grep -q "Unable to pack files" "$work/stderr"
check test "$(cat "$work/broken/update.dat")" = "old package"
check test "$(ls -A "$work/broken")" = "$before"

report_checks "linux pack"
