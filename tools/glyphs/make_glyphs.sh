#!/usr/bin/env bash
# Draws the tool button pictures and the program icon with ImageMagick and
# writes them to src/app/res. The outputs are committed; run this again after
# changing a drawing. Grey (192,192,192) is the background: the buttons leave
# out the colour of a picture's bottom-left pixel, so that pixel must show it.
set -euo pipefail
out=$(cd "$(dirname "$0")/../../src/app/res" && pwd)
bg='#c0c0c0'
# Each picture is drawn at 18 x 18 (100 %) and again at 27 and 36 (150 and
# 200 %, named NAME_27.bmp and NAME_36.bmp): the same drawing scaled as a
# drawing (lines, curves and strokes at the size), not a bitmap stretched.
# ImageMagick's coordinates are pixel centres: scaling by s keeps the
# pictures' edges in place with a shift of (s - 1) / 2.
glyph() {  # name, then draw arguments
  local name=$1; shift
  convert -size 18x18 "xc:$bg" -antialias "$@" -type TrueColor "BMP3:$out/$name.bmp"
  local size scale shift
  for size in 27 36; do
    scale=$(awk "BEGIN { print $size / 18 }")
    shift=$(awk "BEGIN { print ($scale - 1) / 2 }")
    convert -size "${size}x${size}" "xc:$bg" -antialias -affine "$scale,0,0,$scale,$shift,$shift" "$@" \
      -type TrueColor "BMP3:$out/${name}_$size.bmp"
  done
}

# Open file: a yellow folder with a blue arrow going in.
glyph selfile \
  -fill '#e8b339' -stroke '#a8781c' -strokewidth 1 \
  -draw 'polygon 1,5 6,5 8,7 16,7 16,16 1,16' \
  -fill '#f6d26b' -draw 'polygon 1,9 17,9 16,16 1,16' \
  -fill '#2f6fd0' -stroke '#1d4d99' -draw 'polygon 9,1 14,1 14,3 17,3 11.5,7 6,3 9,3'

# Save: a blue disk with a white label and a grey shutter.
glyph save \
  -fill '#2f6fd0' -stroke '#1d4d99' -strokewidth 1 -draw 'roundrectangle 1,1 16,16 2,2' \
  -fill '#ffffff' -stroke none -draw 'rectangle 4,2 13,8' \
  -fill '#9aa3ad' -draw 'rectangle 5,11 12,16' -fill '#2f6fd0' -draw 'rectangle 10,12 11,15'

# Save all: two disks, the back one offset.
glyph saveall \
  -fill '#6d9be0' -stroke '#1d4d99' -strokewidth 1 -draw 'roundrectangle 4,0 17,13 2,2' \
  -fill '#2f6fd0' -draw 'roundrectangle 0,3 13,16 2,2' \
  -fill '#ffffff' -stroke none -draw 'rectangle 3,4 10,9' \
  -fill '#9aa3ad' -draw 'rectangle 3,12 10,16'

# Help: a white question mark on a blue disc.
glyph help \
  -fill '#2f6fd0' -stroke '#1d4d99' -strokewidth 1 -draw 'circle 8.5,8.5 8.5,0.5' \
  -fill none -stroke '#ffffff' -strokewidth 2 -draw 'arc 5.5,3.5 11.5,9.5 180,90' \
  -draw 'line 8.5,9.5 8.5,11' -fill '#ffffff' -stroke none -draw 'circle 8.5,13.5 8.5,12.3'

# Update: a green arrow pointing up over a bar.
glyph update \
  -fill '#36a852' -stroke '#20703a' -strokewidth 1 \
  -draw 'polygon 8.5,1 16,8.5 11.5,8.5 11.5,13 5.5,13 5.5,8.5 1,8.5' \
  -fill '#20703a' -stroke none -draw 'rectangle 2,15 15,16'

# The program icon: a blue tile holding four small pictures.
icon_png() {  # size, file
  local s=$1 f=$2 m=$(( $1 / 16 ))
  local r=$(( $1 / 6 )) a=$(( $1 * 3 / 16 )) b=$(( $1 / 2 - $1 / 32 )) c=$(( $1 / 2 + $1 / 32 )) d=$(( $1 * 13 / 16 ))
  convert -size "${s}x${s}" xc:none \
    -fill '#2f6fd0' -draw "roundrectangle $m,$m $((s - m - 1)),$((s - m - 1)) $r,$r" \
    -fill '#ffffff' -draw "rectangle $a,$a $b,$b" -fill '#f6d26b' -draw "rectangle $c,$a $d,$b" \
    -fill '#7fd491' -draw "rectangle $a,$c $b,$d" -fill '#f28b82' -draw "rectangle $c,$c $d,$d" \
    "PNG32:$f"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 16 32 48; do icon_png "$s" "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$out/kelmar.ico"
