#!/usr/bin/env bash
# Sets up and builds mivo, then starts it on the default device. Without a
# display it runs headless through a short tour and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR=${MIVO_BUILD_DIR:-build}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD_DIR/app/mivo" "$@"
fi
OUT="$PWD/$BUILD_DIR/tour"
mkdir -p "$OUT"
echo "No display found: running mivo headless through a short tour."
(cd "$OUT" && "$OLDPWD/$BUILD_DIR/app/mivo" --headless --script "$OLDPWD/scripts/tour.mvs" "$@")
echo "Screenshots of the tour are in $OUT:"
ls -1 "$OUT"/*.png
