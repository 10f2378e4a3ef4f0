#!/usr/bin/env bash
# The demo: builds the Linux program, makes a demo installation under build/demo and runs the
# wizard on it - in a window when a display is available, otherwise headlessly through a
# scripted English install that writes a PNG of every page it passes. Afterwards it prints what
# changed in the game folder.
#
#   build/demo/update/   what a player receives: tlfupdate, update.dat (packed by the program's
#                        own pack mode from a sample update), the seven readmes and the fonts
#   build/demo/game/     an installed game with older files, tlf.exe, tlf.icd and qstart\*.qst
#   build/demo/registry.reg  the installation record ("Version" "Release", "Location" the game)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target tlfupdate make_sample_update tlf_demo_install >/dev/null
source tests/scripts/package_files.sh

demo="$top/build/demo"
rm -rf "$demo"
mkdir -p "$demo/update" "$demo/loose" "$demo/old" "$demo/game/data" "$demo/game/pictures" "$demo/game/qstart" "$demo/pages"

# The update as a publisher makes it.
build/linux/make_sample_update "$demo/loose" >/dev/null
cp build/linux/tlfupdate "$demo/loose/"
(cd "$demo/loose" && env -u DISPLAY ./tlfupdate -pack 2>/dev/null) || { echo "demo: packing failed" >&2; exit 1; }
cp "$demo/loose/update.dat" "$demo/loose/"readme_*.txt "$demo/loose/tlfupdate" data/fonts/*.fnt "$demo/update/"

# The installed game, with the older edition of every file where the game keeps it.
build/linux/make_sample_update "$demo/old" --old >/dev/null
for name in "${PACKAGE_FILES[@]}"; do
  case "$name" in
    tlf.exe|changes.txt) folder=. ;;
    pics.cfg) folder=pictures ;;
    *) folder=data ;;
  esac
  cp "$demo/old/$name" "$demo/game/$folder/$name"
done
rm -rf "$demo/old"
printf 'old readme\r\n' >"$demo/game/readme.txt"
printf 'index cache' >"$demo/game/tlf.icd"
printf 'quick start' >"$demo/game/qstart/premier.qst"
printf 'quick start' >"$demo/game/qstart/cup.qst"
chmod a-w "$demo/game/data/club.dat"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\r\n"Location"="%s"\r\n"Version"="Release"\r\n' \
  "$demo/game" >"$demo/registry.reg"
export TLF_REGISTRY="$demo/registry.reg"

# First line of every game file: the sample writes "TLF sample old|new <name> <size>".
snapshot() { (cd "$demo/game" && find . -type f | sort | while read -r f; do printf '%s: %s\n' "$f" "$(head -c 60 "$f" | head -n 1)"; done); }
snapshot >"$demo/before.txt"

if [ -n "${DISPLAY:-}" ] && [ "${TLF_DEMO_HEADLESS:-0}" != 1 ]; then
  echo "demo: running the wizard in a window on $DISPLAY (record: $TLF_REGISTRY)"
  # Closing the wizard early, or a failure page, ends it with a non-zero code (README, "Unattended
  # updates"); the demo still shows what changed.
  (cd "$demo/update" && ./tlfupdate) || echo "demo: the installer ended with exit code $?"
else
  echo "demo: no display - running a scripted English install headlessly"
  build/linux/tlf_demo_install "$demo/update" "$demo/pages" | grep '^demo:' || {
    echo "demo: the scripted install failed" >&2; exit 1; }
fi

snapshot >"$demo/after.txt"
echo "demo: what changed in $demo/game:"
names() { cut -d: -f1 "$1"; }
echo "  files now holding the new edition: $(grep -c ': TLF sample new\|^./readme.txt: Tallyfield update' "$demo/after.txt" || true) of 47 (empty files show no edition)"
comm -23 <(names "$demo/before.txt") <(names "$demo/after.txt") | sed 's/^/  removed  /'
comm -13 <(names "$demo/before.txt") <(names "$demo/after.txt") | sed 's/^/  added    /'
echo "demo: record now: $(grep '"Version"' "$TLF_REGISTRY")"
[ -n "$(ls "$demo/pages")" ] && echo "demo: pictures of the pages passed are in $demo/pages"
exit 0
