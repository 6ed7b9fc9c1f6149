#!/usr/bin/env bash
# Makes the reference screenshots in tests/reference/ anew from the program
# as it is now: run it after a change to the look that is meant, look at the
# pictures it lists, and commit them. Arguments go to the test program
# (e.g. --gtest_filter='*main_menu*' for some of them).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${MIVO_BUILD_DIR:-build}
ninja -C "$BUILD_DIR" app/mivo tools/mivo-device/mivo-device tests/reference/test_reference mivo_skins mivo_data
MIVO_UPDATE_REFERENCES=1 "$BUILD_DIR/tests/reference/test_reference" "$@" | grep '^wrote ' || true
git status --short tests/reference
