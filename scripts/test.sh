#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# suites, the same under AddressSanitizer/UBSan, a short fuzzing run, the
# integration tests of the real program under Wine, the core suites built with
# MinGW-w64 under Wine, the program built with clang too, and the benchmarks.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
"$ROOT/scripts/check_imports.sh" "$BUILD/win/bin/korbela.exe"

log "Native tests"
ctest --test-dir "$BUILD/native" --output-on-failure -j "$JOBS"

log "Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$ROOT" -B "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DKORBELA_SANITIZE=ON \
      -DCMAKE_CXX_COMPILER=clang++
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
unmanaged_windows
# Keep one wineserver and Wine's own background processes running for the whole
# run, started here so that they do not hold ctest's output pipes open.
wineserver -p 120 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
ctest --test-dir "$BUILD/win" --output-on-failure -E '^(Soak|AutoFreeing|HeapCheckedExit)\.|^korbela_tests$'

# Ends of the real program with Wine checking the heap: Wine logs "err:seh" for
# an exception inside a callback, such as a tick that reaches a window that has
# already gone. Every copy the test started must show in the log (its DLL
# loads), or the log was not read and the check fails.
heap_checked_exit() {
    local log="$BUILD/heap_checked_exit.log" status=0 pid count=0
    (cd "$BUILD/win/bin" && WINEDEBUG=+pid,warn+heap,err+all,trace+loaddll \
        wine ./korbela_wine_tests.exe --gtest_filter='HeapCheckedExit.*' </dev/null >"$log" 2>&1) || status=$?
    grep -E '^\[ +(OK|FAILED) +\]|started as process' "$log" || true
    [ "$status" -eq 0 ] || { echo "the heap-checked exit test failed (rc $status), see $log" >&2; return 1; }
    for pid in $(sed -n 's/^korbela.exe started as process \([0-9a-f]*\).*/\1/p' "$log"); do
        grep -q "^$pid:[0-9a-f]*:trace:loaddll" "$log" || { echo "no log of process $pid" >&2; return 1; }
        count=$((count + 1))
    done
    [ "$count" -eq 5 ] || { echo "the log names $count copies, not 5" >&2; return 1; }
    if grep 'err:seh' "$log"; then
        echo "exceptions inside callbacks at exit, see $log" >&2
        return 1
    fi
    echo "== 5 heap-checked exits: no err:seh line"
}
log "Five ends of the program with Wine's heap checks"
heap_checked_exit

# The window at 150 %: the layout, caption, message dialog, Monitor page,
# focus cue and Light Clean tests again, in a prefix and on a display of their
# own whose resolution is 144 dpi. Wine 8 takes it from HKCU\Control
# Panel\Desktop\LogPixels (before the machine's HKCC\Software\Fonts value
# that winecfg writes) and gives it to every program alike; the screenshots
# are named *-144dpi.bmp.
scaled_display_tests() (
    export WINEPREFIX="$BUILD/wineprefix-dpi"
    unset DISPLAY KORBELA_XVFB_PID
    ensure_display
    trap stop_display EXIT
    ensure_wineprefix
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
    unmanaged_windows
    cd "$BUILD/win/bin"
    status=0
    wine ./korbela_wine_tests.exe --gtest_filter='DisplayScaleLayout.*:CaptionFit.*:MessageDialog.*:Monitor.*:Keyboard.TheFocusCue*:Freeing.LightClean*' \
        </dev/null || status=$?
    wineserver -k || true
    exit "$status"
)
log "Integration tests at 144 dpi"
scaled_display_tests

# Automatic freeing waits for three of its one-minute checks: it runs beside
# the soak, in a prefix and on a display of its own, where /proc/meminfo is a
# file the test writes (see with_fake_meminfo).
auto_freeing_tests() (
    export WINEPREFIX="$BUILD/wineprefix-auto"
    unset DISPLAY KORBELA_XVFB_PID
    ensure_display
    trap stop_display EXIT
    ensure_wineprefix
    unmanaged_windows
    cd "$BUILD/win/bin"
    status=0
    with_fake_meminfo "$BUILD/win/meminfo" wine ./korbela_wine_tests.exe --gtest_filter='AutoFreeing.*' \
        </dev/null || status=$?
    wineserver -k || true
    exit "$status"
)
auto_freeing_tests >"$BUILD/auto_freeing.log" 2>&1 &
auto_freeing=$!

# Two builds that only compile, beside the soak and the automatic freeing,
# which mostly wait: the core suites with MinGW-w64 (run under Wine after the
# soak), and the program again with clang, whose warnings fail it as GCC's do.
# At a lower priority, so that the programs under test keep their pace.
windows_builds() (
    local start=$SECONDS
    nice -n 10 cmake --build "$BUILD/win" -j "$JOBS" --target korbela_tests
    echo "== core suites built with MinGW-w64 in $((SECONDS - start)) s"
    start=$SECONDS
    nice -n 10 cmake -S "$ROOT" -B "$BUILD/clang-win" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/clang-mingw-w64-x86_64.cmake"
    nice -n 10 cmake --build "$BUILD/clang-win" -j "$JOBS" --target korbela
    echo "== korbela.exe built with clang (compiled only) in $((SECONDS - start)) s"
)
windows_builds >"$BUILD/windows_builds.log" 2>&1 &
windows_builds=$!

log "Soak: two minutes of the real program at one-second ticks, with its figures"
ctest --test-dir "$BUILD/win" --verbose -R '^Soak\.TwoMinutes'

log "Core suites built with MinGW-w64, under Wine; korbela.exe built with clang"
builds_status=0
wait "$windows_builds" || builds_status=$?
cat "$BUILD/windows_builds.log"
[ "$builds_status" -eq 0 ] || { echo "the MinGW-w64 core suites or the clang build failed" >&2; exit "$builds_status"; }
ctest --test-dir "$BUILD/win" --output-on-failure -R '^korbela_tests$'

log "Automatic freeing of the real program: three checks, one a minute"
auto_status=0
wait "$auto_freeing" || auto_status=$?
cat "$BUILD/auto_freeing.log"
[ "$auto_status" -eq 0 ] || { echo "automatic freeing tests failed" >&2; exit "$auto_status"; }

log "Benchmarks (figures only, each against its own baseline)"
# Each where its figure means something: the freeing run on VirtualAlloc, the
# widgets on GDI and the idle cost under Wine; the usage tick natively, where
# the memory status is read afresh on every call (Wine keeps it for a second).
for bench in freeing_run_bench widgets_bench idle_cost_win; do
    (cd "$BUILD/win/bin" && timeout 90 wine "./$bench.exe" </dev/null) || echo "$bench.exe failed" >&2
done
timeout 60 "$BUILD/native/bin/usage_tick_bench" || echo "usage_tick_bench failed" >&2
wineserver -k || true
