#!/usr/bin/env bash
# The demo: builds the installer, makes a sample update in build/demo/update and packs it with
# the Linux program (and with the Windows program under Wine when TLF_DEMO_WINE=1), printing
# what was made.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target tlfupdate make_sample_update >/dev/null

demo="$top/build/demo"
rm -rf "$demo"
mkdir -p "$demo/update"
build/linux/make_sample_update "$demo/update"
cp build/linux/tlfupdate "$demo/update/"
(cd "$demo/update" && ./tlfupdate -pack) || { echo "demo: packing failed" >&2; exit 1; }
echo "demo: packed $(stat -c %s "$demo/update/update.dat") bytes into $demo/update/update.dat"
