#!/usr/bin/env bash
# skinpack round trip: a description and ImageMagick-made pictures are built
# into a package, listed, unpacked and built again; the two packages must be
# the same bytes, and the listing must show what went in.
set -euo pipefail
skinpack=$1 pictures=$2 work=$3
rm -rf "$work" && mkdir -p "$work/src"
cp "$pictures"/rgb24.bmp "$pictures"/pal1.bmp "$pictures"/pal8_rle.bmp "$pictures"/argb32_v5.bmp "$work/src/"
cp "$pictures"/pal4.bmp "$work/src/same name.bmp"
printf '%s\r\n' '[VERSION]' 'skinname=Round trip' '[Pictures]' 'picture=rgb24.bmp' 'mask=pal1.bmp' \
  'rolluppicture=' 'activepicturescount=3' '0=pal8_rle.bmp' '1=same name.bmp' '2=argb32_v5.bmp' \
  '' '[FORMINFO]' 'clientrect=8,28,696,284' '[SKINOBJECTS]' 'count=0' '[SKINCONTROLS]' 'count=0' \
  > "$work/src/skin.ini"

"$skinpack" build "$work/src/skin.ini" "$work/a.pkg"
"$skinpack" list "$work/a.pkg" > "$work/list.txt"
cat "$work/list.txt"
grep -q '^version      2$' "$work/list.txt"
grep -q '^picture          5x3, 24 bpp' "$work/list.txt"
grep -q '^inactivepicture  empty$' "$work/list.txt"
grep -q '^mask             11x2, 1 bpp' "$work/list.txt"
grep -q '^active pictures 3$' "$work/list.txt"
grep -q '^  1   5x3, 4 bpp' "$work/list.txt"
grep -q '^description  17 lines' "$work/list.txt"

"$skinpack" unpack "$work/a.pkg" "$work/out"
cmp "$work/src/skin.ini" "$work/out/skin.ini"
cmp "$work/src/same name.bmp" "$work/out/same name.bmp"
"$skinpack" build "$work/out/skin.ini" "$work/b.pkg"
cmp "$work/a.pkg" "$work/b.pkg"

# A picture named with a folder is unpacked under a plain name, and the
# description's entry follows it.
mkdir -p "$work/sub/pics"
cp "$work/src/"*.bmp "$work/sub/"
mv "$work/sub/pal8_rle.bmp" "$work/sub/pal1.bmp" "$work/sub/pics/"
sed -e 's|^0=pal8_rle.bmp|0=pics/pal8_rle.bmp|' -e 's|^mask=pal1.bmp|mask=pics/pal1.bmp|' \
  "$work/src/skin.ini" > "$work/sub/skin.ini"
"$skinpack" build "$work/sub/skin.ini" "$work/c.pkg"
"$skinpack" unpack "$work/c.pkg" "$work/out2"
grep -q $'^0=active0.bmp\r$' "$work/out2/skin.ini"
grep -q $'^mask=mask.bmp\r$' "$work/out2/skin.ini"
"$skinpack" build "$work/out2/skin.ini" "$work/d.pkg"
diff <("$skinpack" list "$work/c.pkg" | grep -v -e '^package' -e '^description') \
     <("$skinpack" list "$work/d.pkg" | grep -v -e '^package' -e '^description')

# Errors are reported, not crashed on.
if "$skinpack" list "$work/src/skin.ini" 2>"$work/err.txt"; then exit 1; fi
grep -q 'compression error' "$work/err.txt"
echo "skinpack round trip: ok"
