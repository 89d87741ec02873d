#!/usr/bin/env bash
# Screenshots of the running program with icons in both views, for review:
# starts kelmar.exe on a virtual display, opens Wine's shell32.dll through the
# open dialog (mouse and keyboard, as a user would), then switches the view.
# Then Save all: the real folder browser and the summary are captured too.
# Writes build/screenshots/{empty,large,small,folder,summary}.png and prints
# their names.
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target kelmar
unset DISPLAY
source scripts/wine-env.sh
kelmar_wine_env build/win64
trap kelmar_stop_wine EXIT
out="$KELMAR_ROOT/build/screenshots"
mkdir -p "$out"

wine build/win64/src/kelmar.exe >/dev/null 2>&1 &
window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --name "Kelmar V3.0" 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "screenshots: the window did not appear" >&2; exit 1; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1.png"; echo "screenshot: $out/$1.png"; }
screen_shot() { import -window root "$out/$1.png"; echo "screenshot: $out/$1.png"; }
# Client origin: inside the skinned frame (8 pixels left, 28 on top).
client_x=$(( X + 8 ))
client_y=$(( Y + 28 ))
click() { xdotool mousemove "$(( client_x + $1 ))" "$(( client_y + $2 ))" click 1; }

shot empty
click 28 20                      # the open-file button
sleep 3
xdotool type --delay 20 'C:\windows\system32\shell32.dll'
xdotool key Return
sleep 4
shot large
click 70 20                      # the 16x16 radio button
sleep 1
shot small
click 238 20                     # Save all: the folder browser opens
sleep 3
screen_shot folder
xdotool key Return               # OK on the folder it offers
sleep 4
screen_shot summary
xdotool key Return
sleep 1
