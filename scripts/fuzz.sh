#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60] [target names, default all]
# Targets are tests/fuzz/fuzz_<name>.cpp; seeds come from tests/fuzz/seeds/<name>/,
# the growing corpus is kept in build/fuzz/corpus/<name>/, and a finding is
# written to build/fuzz/findings/ and stops the run with a failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true

names=("$@")
if ((${#names[@]} == 0)); then
  for f in tests/fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    names+=("${n#fuzz_}")
  done
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 $(printf -- '--target fuzz_%s ' "${names[@]}")

mkdir -p build/fuzz/findings
for name in "${names[@]}"; do
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
  echo "== fuzz_$name for ${seconds}s"
  log=build/fuzz/fuzz_$name.log
  status=0
  build/fuzz/tests/fuzz/fuzz_$name -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/findings/"$name"- "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|SUMMARY|Test unit written)' "$log" || true
  [ "$status" -eq 0 ] || { echo "fuzz_$name: finding, see $log and build/fuzz/findings"; exit 1; }
done
echo "fuzzing: no findings"
