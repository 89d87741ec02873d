# Sourced: prepares Wine for one build folder.
#   kelmar_wine_env BUILD_DIR [NAME]
#                               sets WINEPREFIX (private, BUILD_DIR/NAME,
#                               wineprefix unless named), WINEDEBUG, a
#                               display, and keeps one wineserver.
# Sourced by hand as well as by the scripts: the project root from this file.
: "${KELMAR_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

kelmar_wine_env() {
  local build_dir
  build_dir=$(cd "$1" && pwd)
  export WINEPREFIX="$build_dir/${2:-wineprefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ -z "${DISPLAY:-}" ]; then
    kelmar_start_xvfb
  fi
  if [ ! -f "$WINEPREFIX/.kelmar-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    # Chinese text falls back to the CJK font; Wine draws window frames
    # itself (there is no window manager).
    wine regedit "$KELMAR_ROOT/scripts/wine-prefix.reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kelmar-ready"
  fi
  # One persistent wineserver for the whole run: warm starts take about 1 s.
  wineserver -p >/dev/null 2>&1 || true
}

kelmar_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      KELMAR_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      return 0
    fi
  done
  echo "no free X display number" >&2
  return 1
}

kelmar_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KELMAR_XVFB_PID:-}" ]; then
    kill "$KELMAR_XVFB_PID" 2>/dev/null || true
    unset KELMAR_XVFB_PID
  fi
}
