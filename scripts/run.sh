#!/usr/bin/env bash
# Set-up, build and start Kelmar under Wine. Without a display it runs on a
# virtual one, saves a screenshot, prints its name and closes after a few seconds.
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target kelmar

had_display=${DISPLAY:-}
source scripts/wine-env.sh
kelmar_wine_env build/win64
exe=build/win64/src/kelmar.exe
if [ -n "$had_display" ]; then
  exec wine "$exe"
fi
trap kelmar_stop_wine EXIT
wine "$exe" &
sleep "${KELMAR_SHOT_DELAY:-6}"
shot="$KELMAR_ROOT/build/kelmar-screenshot.png"
# The window's own area when it can be found, else the whole screen.
geometry=$(xdotool search --name "Kelmar" getwindowgeometry --shell 2>/dev/null | head -5 || true)
if [ -n "$geometry" ]; then
  eval "$geometry"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
else
  import -window root "$shot"
fi
echo "screenshot: $shot"
wine taskkill /im kelmar.exe >/dev/null 2>&1 || true
sleep 1
