#!/usr/bin/env bash
# ctest's emulator for Windows test programs: wine-run.sh BUILD_DIR PROGRAM ARGS...
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$KELMAR_ROOT/scripts/wine-env.sh"
build_dir=$1
shift
kelmar_wine_env "$build_dir"
if [ ! -f "$1" ]; then
  echo "wine-run: no such program: $1" >&2
  exit 127
fi
# Wine's service processes, started on demand by the program, inherit its
# output and outlive it under the persistent wineserver: give them a file
# rather than ctest's pipe, or ctest waits for them until its time-out.
out=$(mktemp)
# A virtual display started for this program alone goes with it.
trap 'rm -f "$out"; [ -z "${KELMAR_XVFB_PID:-}" ] || kill "$KELMAR_XVFB_PID" 2>/dev/null || true' EXIT
status=0
wine "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
exit $status
