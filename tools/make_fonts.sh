#!/bin/sh
# make_fonts.sh: makes the installer's seven .fnt fonts with make_font from the Liberation
# typefaces (Debian fonts-liberation for Sans Narrow, fonts-liberation2 for Sans).
#
#   tools/make_fonts.sh <output folder> [make_font program]
#
# The program defaults to $MAKE_FONT, else build/linux/make_font of this tree. The committed
# files in data/fonts/ are made by this script; tests/gfx compares a fresh run with them.
# Exit status: 0 done, 1 a font could not be made, 2 wrong use, 3 a typeface is missing.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: make_fonts.sh <output folder> [make_font program]}
tool=${2:-${MAKE_FONT:-$here/build/linux/make_font}}
typefaces=${TLF_TYPEFACE_DIR:-/usr/share/fonts/truetype}
narrow=$typefaces/liberation/LiberationSansNarrow-Regular.ttf
narrow_bold=$typefaces/liberation/LiberationSansNarrow-Bold.ttf
sans=$typefaces/liberation2/LiberationSans-Regular.ttf

if [ ! -x "$tool" ]; then
    echo "make_fonts.sh: no make_font program at $tool" >&2
    exit 2
fi
for typeface in "$narrow" "$narrow_bold" "$sans"; do
    if [ ! -f "$typeface" ]; then
        echo "make_fonts.sh: typeface $typeface is not installed" >&2
        exit 3
    fi
done
mkdir -p "$out"

# file name, typeface, pixel size. The sizes give FontHeight(5) + FontHeight(2) = 28 + 17 = 45
# (the wizard's header) and FontHeight(1) = 15 (text lines stand 17 pixels apart).
"$tool" "$narrow" 12 "$out/arial_narrow_10.fnt" || exit 1
"$tool" "$narrow" 13 "$out/arial_narrow_11.fnt" || exit 1
"$tool" "$sans" 14 "$out/arial_14.fnt" || exit 1
"$tool" "$sans" 16 "$out/arial_16.fnt" || exit 1
"$tool" "$sans" 18 "$out/arial_18.fnt" || exit 1
"$tool" "$narrow_bold" 24 "$out/trade_cond_24_bold.fnt" || exit 1
"$tool" "$narrow_bold" 28 "$out/trade_cond_28_bold.fnt" || exit 1
