#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# suites, the same under AddressSanitizer/UBSan, a short fuzzing run, and the
# integration tests of the real program under Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"

log "Native tests"
ctest --test-dir "$BUILD/native" --output-on-failure -j "$JOBS"

log "Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$ROOT" -B "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DKORBELA_SANITIZE=ON \
      -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD/asan" -j "$JOBS" --target korbela_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$BUILD/asan" --output-on-failure -j "$JOBS"

if [ -x "$ROOT/fuzz/run_short.sh" ]; then
    log "Fuzzing the performance-data parser (fixed number of inputs)"
    "$ROOT/fuzz/run_short.sh" "$BUILD/fuzz"
fi

log "Integration tests of the real program under Wine"
ensure_display
trap stop_display EXIT
ensure_wineprefix
# Keep one wineserver and Wine's own background processes running for the whole
# run, started here so that they do not hold ctest's output pipes open.
wineserver -p 120 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
ctest --test-dir "$BUILD/win" --output-on-failure

log "Benchmarks (figures only, each against its own baseline)"
for bench in freeing_run_bench usage_tick_bench widgets_bench idle_cost_win; do
    if [ -x "$BUILD/win/bin/$bench.exe" ]; then
        (cd "$BUILD/win/bin" && timeout 60 wine "./$bench.exe" </dev/null) || echo "$bench.exe failed" >&2
    fi
done
for bench in "$BUILD"/native/bin/*_bench; do
    if [ -x "$bench" ]; then
        timeout 60 "$bench" || echo "$(basename "$bench") failed" >&2
    fi
done
wineserver -k || true
