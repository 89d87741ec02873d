#!/usr/bin/env bash
# skingen's command line: a DPI or palette it cannot draw for is refused
# with nothing written, and pictures drawn for a DPI the build does not use (120) have the
# sizes of the design's scaled by 1.25, halves rounded up, as ImageMagick
# reads them.
set -euo pipefail
skingen=$1 work=$2
rm -rf "$work" && mkdir -p "$work"

for args in "--dpi 50" "--dpi 481" "--dpi 144x" "--dpi" "--size 144" "--dpi 144 more" \
            "--palette sepia" "--palette" "--dpi 144 --dpi 192" "--palette dark --palette light"; do
  status=0
  # shellcheck disable=SC2086  # the words are the arguments
  "$skingen" "$work/refused" $args 2>/dev/null || status=$?
  [ "$status" = 2 ] || { echo "skingen OUT $args: exit $status, not 2"; exit 1; }
  [ ! -e "$work/refused" ] || { echo "skingen OUT $args wrote $work/refused"; exit 1; }
done

"$skingen" "$work/120" --dpi 120
check() {  # file expected-size expected-depth
  local got
  got=$(identify -format '%wx%h %z' "$work/120/$1")
  echo "$1: $got"
  [ "$got" = "$2 $3" ] || { echo "$1: expected $2 $3"; exit 1; }
}
check frame.bmp 880x365 8             # 704 x 292
check frame_inactive.bmp 880x365 8
check frame_mask.bmp 880x365 1
check capbuttons.bmp 168x85 8         # 134 x 68
check controls.bmp 200x338 8          # 160 x 270
check popup.bmp 75x50 8               # 60 x 40
check popup_mask.bmp 75x50 1
check hint.bmp 50x25 8                # 40 x 20
check hint_mask.bmp 50x25 1
check menuitem.bmp 75x64 8            # 60 x 51
check listbox.bmp 50x118 8            # 40 x 94
check scrollbars.bmp 170x146 8        # 136 x 117
[ "$(ls "$work/120" | wc -l)" = 12 ]

# The dark palette: the same pictures in other colours, in either order of
# the options.
"$skingen" "$work/dark" --palette dark --dpi 120
for f in "$work/120"/*.bmp; do
  name=$(basename "$f")
  [ "$(identify -format '%wx%h' "$f")" = "$(identify -format '%wx%h' "$work/dark/$name")" ] || { echo "$name: other size"; exit 1; }
done
! cmp -s "$work/120/frame.bmp" "$work/dark/frame.bmp" || { echo "the dark frame is the light one"; exit 1; }
