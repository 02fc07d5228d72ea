#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each (or those named after SECONDS) for SECONDS (default 60) on its corpus: the
# seeds the test writers make, the inputs kept in tests/data/fuzz/<target> and what earlier
# runs found (build/fuzz/corpus).
# An input that crashes, hangs, leaks or breaks an invariant stops the run; it is copied into
# tests/data/fuzz/<target>, where CTest replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(dat csv settings wine_registry jet)

bash scripts/setup.sh --fuzz
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTABREL_SANITIZE=ON -DTABREL_FUZZ=ON \
    -DTABREL_BUILD_TESTS=OFF -DTABREL_BUILD_GUI=OFF
cmake --build "$build"
"$build/fuzz/tabrel_fuzz_seeds" "$build/seeds"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    kept="tests/data/fuzz/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$kept" "$findings"
    echo "== $target: ${seconds}s"
    if ! "$build/fuzz/tabrel_fuzz_$target" "$corpus" "$build/seeds/$target" "$kept" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/$target.log"; then
        status=1
        echo "   $target failed: see $build/$target.log; kept in $kept:"
        for found in "$findings"/*; do
            [ -f "$found" ] && cp "$found" "$kept/" && echo "   $(basename "$found")"
        done
    fi
    grep -E "^stat::number_of_executed_units|^stat::new_units_added|cov:" "$build/$target.log" |
        tail -3 | sed 's/^/   /'
done
exit $status
