#!/usr/bin/env bash
# Runs the whole Windows test suite N times in a row (default 5), each run as
# scripts/test.sh runs it; with --load every core is kept busy meanwhile (one
# `yes > /dev/null` per core). Prints each run's result and wall time, and
# fails when any run failed.
#   bash scripts/test-repeat.sh 5 --load
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"

runs=5
load=false
for arg in "$@"; do
  case "$arg" in
    --load) load=true ;;
    ''|*[!0-9]*) echo "usage: $0 [RUNS] [--load]" >&2; exit 2 ;;
    *) runs=$arg ;;
  esac
done

cmake --preset win64 >/dev/null
cmake --build --preset win64
source scripts/wine-env.sh
kelmar_wine_env build/win64

busy=()
stop() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  kelmar_stop_wine
}
trap stop EXIT
if $load; then
  for _ in $(seq "$(nproc)"); do
    yes >/dev/null &
    busy+=($!)
  done
fi

jobs=$(nproc)
failed=0
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  if ctest --preset win64 -j "$jobs" >"build/win64/ctest-repeat-$i.log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  tenths=$((($(date +%s%N) - start) / 100000000))
  printf 'run %d of %d: %s, %d.%d s%s\n' "$i" "$runs" "$result" $((tenths / 10)) $((tenths % 10)) \
    "$($load && echo ', cores busy' || true)"
  [ "$result" = passed ] || grep -E "Failed|\*\*\*" "build/win64/ctest-repeat-$i.log" || true
done
echo "runs: $((runs - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
