#!/usr/bin/env bash
# Writes a contact sheet of the program's own skin: every picture of the
# package the build makes, with its place in the package and its size.
#   bash scripts/contact-sheet.sh [OUT.png [DPI [dark]]]  (default build/skin-contact-sheet.png;
#                                                 DPI 144 or 192: the skin drawn for it;
#                                                 dark: Kelmar Dark)
# Small pictures are shown enlarged (point-sampled) so their pixels can be
# judged; the label gives the real size. Magenta is the skin's key colour.
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"
out=${1:-build/skin-contact-sheet.png}
build=build/native
[ -f "$build/build.ninja" ] || cmake --preset native >/dev/null
cmake --build "$build" --target kelmar_skin_package skinpack >/dev/null
dpi=${2:-96}
tone=
case ${3:-light} in
  light) ;;
  dark) tone=_dark ;;
  *) echo "contact-sheet.sh: light or dark, not $3" >&2; exit 2 ;;
esac
case $dpi in
  96) package=$build/skins/kelmar_skin$tone.pkg ;;
  144 | 192) package=$build/skins/kelmar_skin${tone}_$dpi.pkg ;;
  *) echo "contact-sheet.sh: DPI 96, 144 or 192, not $dpi" >&2; exit 2 ;;
esac
skinpack=$build/tools/skinpack/skinpack

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$skinpack" unpack "$package" "$work/pictures" >/dev/null
# The [PICTURES] entries of the unpacked description: key=file name.
tr -d '\r' < "$work/pictures/skin.ini" |
  awk '/^\[/{in_pictures = (toupper($0) == "[PICTURES]"); next} in_pictures && /=/' > "$work/entries"
value() { sed -n "s/^$1=//p" "$work/entries" | head -n 1; }

frames=() pictures=()
add() {  # label-prefix file
  local file=$work/pictures/$2 size
  size=$(identify -format '%wx%h' "$file")
  local shown=$work/$(basename "$2" .bmp).png scale=1 width=${size%x*}
  if ((width < 100)); then scale=4; elif ((width < 200)); then scale=2; fi
  convert "$file" -filter point -resize "$((scale * 100))%" "$shown"
  local label="$1  $2  $size"
  ((scale > 1)) && label+="  (shown x$scale)"
  if [[ $1 =~ ^[0-9]+$ ]]; then pictures+=(-label "$label" "$shown"); else frames+=(-label "$label" "$shown"); fi
}
for slot in picture inactivepicture mask rolluppicture rollupmask; do
  name=$(value "$slot")
  [ -n "$name" ] && add "$slot" "$name"
done
count=$(value activepicturescount)
for ((i = 0; i < count; i++)); do add "$i" "$(value "$i")"; done

# A font file for the labels: ImageMagick's default face may not be installed.
font=$(find /usr/share/fonts -name 'DejaVuSans.ttf' -o -name 'wqy-microhei.ttc' 2>/dev/null | sort | head -n 1)
mkdir -p "$(dirname "$out")"
sheet() {  # OUT TILE IMAGES...
  local target=$1 tile=$2 w=0 h=0 size
  shift 2
  # One cell size for all (the largest picture): montage cuts rows off when
  # the cells differ.
  for size in $(identify -format '%wx%h\n' $(printf '%s\n' "$@" | grep '\.png$')); do
    ((${size%x*} > w)) && w=${size%x*}
    ((${size#*x} > h)) && h=${size#*x}
  done
  montage ${font:+-font "$font"} -pointsize 13 "$@" -tile "$tile" -geometry "${w}x${h}>+16+12" \
    -background '#d9d9d9' "$target"
}
sheet "$work/frames.png" 3x "${frames[@]}"
sheet "$work/pictures.png" 5x "${pictures[@]}"
convert "$work/frames.png" "$work/pictures.png" -background '#d9d9d9' -gravity west -append +repage "$out"
echo "$out"
