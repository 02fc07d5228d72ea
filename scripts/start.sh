#!/usr/bin/env bash
# Installs what is missing, builds Tabrel and starts it; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
if [ $# -eq 0 ]; then
    set -- --help
fi
exec "$build/src/cli/tabrel-cli" "$@"
