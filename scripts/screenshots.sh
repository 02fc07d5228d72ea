#!/usr/bin/env bash
# Builds the wizard and retakes the README's screenshots (docs/screenshots/*.png) on the
# demo Palm Desktop folder, headless (Qt's offscreen platform). The user's settings are not
# touched.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tabrel-screenshots
QT_QPA_PLATFORM=offscreen "$build/src/tools/tabrel-screenshots" \
    --palm-folder demo/palm --out docs/screenshots
