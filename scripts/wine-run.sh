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
exec wine "$@"
