#!/usr/bin/env bash
# Installs what is missing (Debian 12 packages, apt-get only), configures and
# builds mivo with every core. A second run skips what is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev libjpeg62-turbo-dev libgif-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 papirus-icon-theme adwaita-icon-theme librsvg2-bin python-matplotlib-data
  xvfb xauth xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

BUILD_DIR=${MIVO_BUILD_DIR:-build}
JOBS=$(nproc 2>/dev/null || echo 2)
[ "$JOBS" -lt 2 ] && JOBS=2
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$JOBS"
