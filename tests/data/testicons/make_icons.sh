#!/usr/bin/env bash
# Makes the icons of known pixels that the test DLL carries (32 x 32, 32-bit
# with a mask). quadrants.ico: red, green, blue and yellow quadrants with a
# transparent 4 x 4 block in the top-left corner. navy.ico: solid (0,0,128).
set -euo pipefail
cd "$(dirname "$0")"
convert -size 32x32 xc:none \
  -fill '#ff0000' -draw 'rectangle 0,0 15,15' -fill '#00ff00' -draw 'rectangle 16,0 31,15' \
  -fill '#0000ff' -draw 'rectangle 0,16 15,31' -fill '#ffff00' -draw 'rectangle 16,16 31,31' \
  -alpha set -region 4x4+0+0 -alpha transparent +region \
  PNG32:quadrants.png
convert -size 32x32 xc:'#000080' -alpha on PNG32:navy.png
convert quadrants.png quadrants.ico
convert navy.png navy.ico
rm -f quadrants.png navy.png
