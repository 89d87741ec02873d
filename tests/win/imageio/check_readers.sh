#!/usr/bin/env bash
# Independent readers over the files the Windows writer tests left in one
# folder: icoutils' icotool and ImageMagick's identify must accept every file
# and see the size and depth the file is meant to have.
set -uo pipefail
dir=$1
command -v icotool >/dev/null && command -v identify >/dev/null || { echo "icotool or identify missing"; exit 77; }
shopt -s nullglob
icos=("$dir"/*.ico)
bmps=("$dir"/*.bmp)
if [ ${#icos[@]} -eq 0 ] || [ ${#bmps[@]} -eq 0 ]; then
  echo "no written files in $dir"
  exit 1
fi
fail=0
for f in "${icos[@]}"; do
  size=$(stat -c %s "$f")
  if [ "$size" = 766 ]; then n=32; else n=16; fi
  want="--icon --index=1 --width=$n --height=$n --bit-depth=4 --palette-size=16"
  got=$(icotool -l "$f" 2>&1)
  [ "$got" = "$want" ] || { echo "icotool: $f: $got"; fail=1; }
  got=$(identify -format '%m %wx%h\n' "$f" 2>&1)
  [ "$got" = "ICO ${n}x${n}" ] || { echo "identify: $f: $got"; fail=1; }
done
for f in "${bmps[@]}"; do
  size=$(stat -c %s "$f")
  if [ "$size" = 4150 ]; then n=32; else n=16; fi
  got=$(identify -format '%m %wx%h\n' "$f" 2>&1)
  [[ "$got" == "BMP"*" ${n}x${n}" ]] || { echo "identify: $f: $got"; fail=1; }
done
# Pixel order as another program reads it: pixel (1,0) of the known-pixel
# icon is standard colour 1 (maroon, opaque); (0,0) is transparent.
got=$(convert "$dir/known32.ico" -format '%[hex:p{1,0}]' info: 2>&1)
[ "$got" = "800000FF" ] || { echo "convert known32.ico (1,0): $got"; fail=1; }
got=$(convert "$dir/known32.ico" -alpha extract -format '%[hex:p{0,0}]' info: 2>&1)
[ "$got" = "000000" ] || { echo "convert known32.ico alpha (0,0): $got"; fail=1; }
# Pixel (1,0) of the flattened icon is opaque with colour (1*7+1, 0*5+2, 0);
# (0,0) is transparent, so white.
got=$(convert "$dir/flat32-mixed.bmp" -format '%[hex:p{1,0}] %[hex:p{0,0}]' info: 2>&1)
[ "$got" = "080200 FFFFFF" ] || { echo "convert flat32-mixed.bmp: $got"; fail=1; }
echo "checked ${#icos[@]} icon files and ${#bmps[@]} bitmap files"
exit $fail
