#!/usr/bin/env bash
# Makes the BMP test pictures with ImageMagick from the known pixels below; the
# tests in tests/native/bmp hold the same pixels and compare the decoded images.
set -euo pipefail
cd "$(dirname "$0")"

# Truecolour, 5x3 (odd width: padded rows), alpha varied.
cat > truecolor.txt <<'PIX'
# ImageMagick pixel enumeration: 5,3,255,srgba
0,0: (255,0,0,255)
1,0: (0,255,0,255)
2,0: (0,0,255,255)
3,0: (255,255,255,255)
4,0: (0,0,0,255)
0,1: (10,20,30,128)
1,1: (200,100,50,0)
2,1: (1,2,3,255)
3,1: (128,128,128,64)
4,1: (250,240,230,255)
0,2: (17,34,51,255)
1,2: (68,85,102,255)
2,2: (119,136,153,200)
3,2: (170,187,204,255)
4,2: (221,238,255,1)
PIX
# Colours of full or no intensity only, exact in 5 and 4 bits per channel.
cat > primaries.txt <<'PIX'
# ImageMagick pixel enumeration: 4,2,255,srgba
0,0: (0,0,0,255)
1,0: (255,0,0,255)
2,0: (0,255,0,0)
3,0: (0,0,255,255)
0,1: (255,255,0,255)
1,1: (255,0,255,0)
2,1: (0,255,255,255)
3,1: (255,255,255,255)
PIX
# 20 colours (more than 16: written with 8 bits per pixel), 5x4.
{
  echo "# ImageMagick pixel enumeration: 5,4,255,srgb"
  for y in 0 1 2 3; do for x in 0 1 2 3 4; do
    i=$((y * 5 + x)); echo "$x,$y: ($((i * 12)),$((255 - i * 10)),$((i * 7 % 256)))"
  done; done
} > colors20.txt
# 6 colours (written with 4 bits per pixel), 5x3.
cat > colors6.txt <<'PIX'
# ImageMagick pixel enumeration: 5,3,255,srgb
0,0: (255,0,0)
1,0: (0,128,0)
2,0: (0,0,255)
3,0: (255,0,0)
4,0: (40,50,60)
0,1: (0,128,0)
1,1: (255,255,0)
2,1: (9,9,9)
3,1: (40,50,60)
4,1: (255,0,0)
0,2: (9,9,9)
1,2: (0,0,255)
2,2: (255,255,0)
3,2: (0,128,0)
4,2: (9,9,9)
PIX
# 2 colours (written with 1 bit per pixel), 11x2: a row crosses a byte.
{
  echo "# ImageMagick pixel enumeration: 11,2,255,srgb"
  for y in 0 1; do for x in $(seq 0 10); do
    if (( (x + y) % 3 == 0 )); then c="(200,30,40)"; else c="(20,60,220)"; fi
    echo "$x,$y: $c"
  done; done
} > colors2.txt

convert txt:truecolor.txt -alpha off BMP3:rgb24.bmp
convert txt:truecolor.txt -alpha off BMP2:rgb24_core.bmp
convert txt:truecolor.txt -define bmp3:alpha=true BMP3:rgb32.bmp
convert txt:truecolor.txt BMP:argb32_v5.bmp
convert txt:primaries.txt -alpha off -define bmp:subtype=RGB565 BMP:rgb565.bmp
convert txt:primaries.txt -alpha off -define bmp:subtype=RGB555 BMP:rgb555.bmp
convert txt:primaries.txt -define bmp:subtype=ARGB4444 BMP:argb4444.bmp
convert txt:colors20.txt -type Palette -compress None BMP3:pal8.bmp
convert txt:colors20.txt -type Palette -compress RLE BMP3:pal8_rle.bmp
convert txt:colors6.txt -type Palette -compress None BMP3:pal4.bmp
convert txt:colors2.txt -type Palette -compress None BMP3:pal1.bmp
convert txt:colors6.txt -type Palette BMP2:pal4_core.bmp
rm -f truecolor.txt primaries.txt colors20.txt colors6.txt colors2.txt
