#!/usr/bin/env bash
# Installs what is missing, builds Tabrel (Release) and starts the wizard on the demo Palm
# Desktop folder (demo/palm). Arguments go to the program; a --palm-folder among them names
# another Palm Desktop folder. The user's own settings file is used and left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

bash scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tabrel

palm=(--palm-folder "$repo/demo/palm")
for arg in "$@"; do
    case "$arg" in
        --palm-folder | --palm-folder=*) palm=() ;;
    esac
done
exec "$build/src/app/tabrel" "${palm[@]}" "$@"
