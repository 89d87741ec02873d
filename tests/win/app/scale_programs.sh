#!/usr/bin/env bash
# The real program at the system scales 100, 125, 150 and 200 %. Wine takes
# the scale from HKCU\Control Panel\Desktop\LogPixels when its server
# starts, so these runs use a prefix of their own (the suite's keeps 96 DPI)
# and start its server again for each scale.
#   scale_programs.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/../../../scripts/wine-env.sh"
kelmar_wine_env "$build" wineprefix-scale
status=0
for dpi in 96 120 144 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p >/dev/null 2>&1 || true
  echo "== $dpi DPI"
  KELMAR_SCALE_DPI=$dpi wine "$build/tests/win_app_tests.exe" --gtest_filter='ScaledProgram.*' || status=1
  # The round of size changes with the every-pixel check, at 150 %.
  if [ "$dpi" = 144 ]; then
    wine "$build/tests/win_frame_mouse_tests.exe" --gtest_filter='ProgramRepaint.*' || status=1
  fi
done
wineserver -k >/dev/null 2>&1 || true
exit $status
