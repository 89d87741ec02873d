#!/usr/bin/env bash
# Makes the icons of known pixels that the second test DLL (kinds.rc) carries:
# one per kind of image an icon resource holds. The pixel rules are repeated
# in the tests that check them (tests/win/app/intake_kinds_test.cpp).
#   four.ico   32 x 32 and 16 x 16, 4 bits: the 16 standard colours in vertical
#              stripes (2 px wide at 32, 1 px at 16, reversed); at 32 the
#              bottom-right 8 x 8 block is transparent
#   eight.ico  32 x 32, 8 bits: red = (x / 2) * 17, green = (y / 2) * 17,
#              blue 128; the top-left 4 x 4 block transparent
#   alpha.ico  32 x 32, 32 bits: (200, 100, 50) with alpha 8x + 7 in the top
#              half, opaque below but for a clear 4 x 4 block bottom-left;
#              and a 16 x 16 opaque (0, 0, 255)
#   png.ico    32 x 32 as PNG: red 8x, green 255 - 8y, blue 60, the top-left
#              4 x 4 block clear; and a 256 x 256 PNG of (90, 20, 160)
#   big.ico    48 x 48, 32 bits only: red 5x, green 5y, blue 0, opaque (the
#              system scales it to the requested size)
#   mixed.ico  16 x 16 32 bits, 32 x 32 at 4, 8 and 32 bits, 48 x 48 32 bits
#              (the best match for 32 x 32 on a 32-bit display is the fourth)
# Needs ImageMagick (convert) and icoutils (icotool); see scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
vga='0 0 0,128 0 0,0 128 0,128 128 0,0 0 128,128 0 128,0 128 128,192 192 192,128 128 128,255 0 0,0 255 0,255 255 0,0 0 255,255 0 255,0 255 255,255 255 255'
# gen NAME WIDTH HEIGHT AWK: the awk statements set r, g, b, a for pixel x, y.
gen() {
  awk -v W="$2" -v H="$3" -v vga="$vga" "BEGIN {
    split(vga, P, \",\")
    print \"# ImageMagick pixel enumeration: \" W \",\" H \",255,srgba\"
    for (y = 0; y < H; y++) for (x = 0; x < W; x++) { $4; printf \"%d,%d: (%d,%d,%d,%d)\n\", x, y, r, g, b, a }
  }" >"$work/$1.txt"
  convert "txt:$work/$1.txt" "PNG32:$work/$1.png"
}
gen four32 32 32 'split(P[int(x / 2) + 1], c, " "); r = c[1]; g = c[2]; b = c[3]; a = (x >= 24 && y >= 24) ? 0 : 255'
gen four16 16 16 'split(P[16 - x], c, " "); r = c[1]; g = c[2]; b = c[3]; a = 255'
gen eight32 32 32 'r = int(x / 2) * 17; g = int(y / 2) * 17; b = 128; a = (x < 4 && y < 4) ? 0 : 255'
gen alpha32 32 32 'r = 200; g = 100; b = 50; a = y < 16 ? 8 * x + 7 : ((x < 4 && y >= 28) ? 0 : 255)'
gen blue16 16 16 'r = 0; g = 0; b = 255; a = 255'
gen png32 32 32 'r = 8 * x; g = 255 - 8 * y; b = 60; a = (x < 4 && y < 4) ? 0 : 255'
gen png256 256 256 'r = 90; g = 20; b = 160; a = 255'
gen big48 48 48 'r = 5 * x; g = 5 * y; b = 0; a = 255'
icotool -c -o four.ico -b 4 "$work/four32.png" -b 4 "$work/four16.png"
icotool -c -o eight.ico -b 8 "$work/eight32.png"
icotool -c -o alpha.ico -b 32 "$work/alpha32.png" -b 32 "$work/blue16.png"
icotool -c -o png.ico -r "$work/png32.png" -r "$work/png256.png"
icotool -c -o big.ico -b 32 "$work/big48.png"
icotool -c -o mixed.ico -b 32 "$work/blue16.png" -b 4 "$work/four32.png" -b 8 "$work/eight32.png" \
  -b 32 "$work/alpha32.png" -b 32 "$work/big48.png"
