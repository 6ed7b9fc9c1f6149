#!/usr/bin/env bash
# Sets up and builds mivo, runs the whole test suite and ends with the line
# "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
BUILD_DIR=${MIVO_BUILD_DIR:-build}
JOBS=$(nproc 2>/dev/null || echo 2)
[ "$JOBS" -lt 2 ] && JOBS=2
LOG=$(mktemp)
(cd "$BUILD_DIR" && ctest -j "$JOBS" --output-on-failure "$@") 2>&1 | tee "$LOG"
total=$(grep -oE 'tests passed, [0-9]+ tests failed out of [0-9]+' "$LOG" | grep -oE '[0-9]+$' | tail -1)
failed=$(grep -oE '[0-9]+ tests failed out of' "$LOG" | grep -oE '^[0-9]+' | tail -1)
rm -f "$LOG"
if [ -z "$total" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
passed=$((total - failed))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
