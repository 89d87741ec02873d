#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time:
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(
    skin_description_fuzz
  )
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]}"
for t in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=()
  [ -d "tests/fuzz/seeds/$t" ] && seeds=("tests/fuzz/seeds/$t")
  echo "fuzz: $t for ${seconds}s"
  "build/fuzz/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="build/fuzz/$t-" "$corpus" "${seeds[@]}"
done
