#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test; any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTABREL_SANITIZE=ON -DTABREL_WERROR=ON
cmake --build "$build"
# npm's mdb-reader, a Jet reader that shares no code with ours, checks the Jet files the
# tests write; without the npm registry the tests that use it skip that check.
if [ ! -d "$build/node/node_modules/mdb-reader" ]; then
    npm install --prefix "$build/node" --no-audit --no-fund --loglevel=error mdb-reader@3.2.0 ||
        echo "mdb-reader could not be installed: the Jet checks run without it" >&2
fi

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
