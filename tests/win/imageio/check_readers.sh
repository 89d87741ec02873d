#!/usr/bin/env bash
# Independent readers over the files the Windows writer tests left in one
# folder: icoutils' icotool and ImageMagick's identify must accept every file
# and see the size and depth the file is meant to have (told by its length:
# 766 or 318 bytes for icons, 4150 or 1078 for bitmaps).
set -uo pipefail
dir=$1
command -v icotool >/dev/null && command -v identify >/dev/null || { echo "icotool or identify missing"; exit 77; }
cd "$dir" || exit 1
shopt -s nullglob
icos=(*.ico)
bmps=(*.bmp)
if [ ${#icos[@]} -eq 0 ] || [ ${#bmps[@]} -eq 0 ]; then
  echo "no written files in $dir"
  exit 1
fi
side() { case $(stat -c %s "$1") in 766 | 4150) echo 32 ;; 318 | 1078) echo 16 ;; *) echo "?" ;; esac; }

fail=0
want_identify=""
for f in "${icos[@]}"; do
  n=$(side "$f")
  got=$(icotool -l "$f" 2>&1)
  [ "$got" = "--icon --index=1 --width=$n --height=$n --bit-depth=4 --palette-size=16" ] ||
    { echo "icotool: $f: $got"; fail=1; }
  want_identify+="$f ICO ${n}x${n} 4"$'\n'
done
for f in "${bmps[@]}"; do
  n=$(side "$f")
  want_identify+="$f BMP3 ${n}x${n} 8"$'\n'
done
# One identify run over all files (each image: name, format, size, bits per channel or index).
got=$(identify -format '%f %m %wx%h %z\n' "${icos[@]}" "${bmps[@]}" 2>&1)
if [ "$got"$'\n' != "$want_identify" ]; then
  diff <(echo "$want_identify") <(echo "$got") | head -20
  fail=1
fi

# Pixel order as another program reads it: pixel (1,0) of the known-pixel
# icon is standard colour 1 (maroon, opaque); (0,0) is transparent.
got=$(convert known32.ico -format '%[hex:p{1,0}]' info: 2>&1)
[ "$got" = "800000FF" ] || { echo "convert known32.ico (1,0): $got"; fail=1; }
got=$(convert known32.ico -alpha extract -format '%[hex:p{0,0}]' info: 2>&1)
[ "$got" = "000000" ] || { echo "convert known32.ico alpha (0,0): $got"; fail=1; }
# Pixel (1,0) of the flattened icon is opaque with colour (1*7+1, 0*5+2, 0);
# (0,0) is transparent, so white.
got=$(convert flat32-mixed.bmp -format '%[hex:p{1,0}] %[hex:p{0,0}]' info: 2>&1)
[ "$got" = "080200 FFFFFF" ] || { echo "convert flat32-mixed.bmp: $got"; fail=1; }
# Bitmaps of the icon with alpha against ImageMagick's own composite of the
# icon's straight pixels onto white: at most 1 of 255 per channel apart
# (PAE in the 16-bit quantum: 257), and read as opaque.
ref=$(mktemp --suffix=.png)
convert -size 32x32 -depth 8 rgba:alpha32.rgba -background white -flatten -alpha off "$ref"
for f in alpha32-*.bmp; do
  pae=$(compare -metric PAE "$f" "$ref" null: 2>&1 | cut -d' ' -f1)
  [[ "$pae" =~ ^[0-9.]+$ ]] && awk "BEGIN { exit !($pae <= 257) }" || { echo "compare $f: $pae"; fail=1; }
  got=$(identify -format '%[opaque]' "$f" 2>&1)
  [ "${got,,}" = "true" ] || { echo "identify $f opaque: $got"; fail=1; }
done
rm -f "$ref"
echo "checked ${#icos[@]} icon files and ${#bmps[@]} bitmap files"
exit $fail
