#!/usr/bin/env bash
# Set-up, then build all three targets and run every test (native and under Wine).
set -euo pipefail
KELMAR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$KELMAR_ROOT"
bash scripts/setup.sh

for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
test -f build/win64/src/kelmar.exe && test -f build/win32/src/kelmar.exe

source scripts/wine-env.sh
kelmar_wine_env build/win64
trap kelmar_stop_wine EXIT

# Tests run side by side; those that use the desktop hold its lock in turn.
jobs=$(nproc)
status=0
ctest --preset native -j "$jobs" 2>&1 | tee build/native/ctest.log || status=1
ctest --preset win64 -j "$jobs" 2>&1 | tee build/win64/ctest.log || status=1

# One closing line over both runs.
count() { sed -n "s/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p" "$1"; }
read -r nf nt < <(count build/native/ctest.log) || { nf=1; nt=1; }
read -r wf wt < <(count build/win64/ctest.log) || { wf=1; wt=1; }
echo "tests: $((nt - nf + wt - wf)) passed, $((nf + wf)) failed"
exit $status
