#!/usr/bin/env bash
# Installs what is missing, checks that includes only go down the layers,
# builds and runs the tests. Without arguments every stage runs; name stages
# to run only those, in any order:
#   unit        the native suites
#   sanitizers  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz        a short fuzzing run of the performance-data parser
#   wine        the integration tests of the real program under Wine, and its
#               ends under Wine's heap checks
#   dpi         the layout, caption, dialog, Monitor, focus and usage icon
#               tests again on a display at 144 dpi
#   soak        two minutes of the real program, with its handles and objects
#   auto        three minutes of automatic freeing checks
#   windows     the core suites built with MinGW-w64 and run under Wine, and
#               korbela.exe built with clang
#   bench       the benchmarks, idle cost included
set -euo pipefail
. "$(dirname "$0")/common.sh"

all_stages=(unit sanitizers fuzz wine dpi soak auto windows bench)
stages=("$@")
[ "${#stages[@]}" -gt 0 ] || stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
    case " ${all_stages[*]} " in
    *" $stage "*) ;;
    *) echo "unknown stage '$stage'; the stages are: ${all_stages[*]}" >&2; exit 2 ;;
    esac
done
wants() {
    local stage
    for stage in "$@"; do
        case " ${stages[*]} " in *" $stage "*) return 0 ;; esac
    done
    return 1
}

# The Wine test suites run as CTest runs them, through the runner that starts a
# suite again when Wine ended it before it reached its tests.
RUN_IN_WINE="$ROOT/tests/wine/run_in_wine.sh"

"$ROOT/scripts/setup.sh"
# Every run first checks that no include runs up the subsystem layers.
"$ROOT/scripts/check_layers.sh"
if wants unit bench; then "$ROOT/scripts/build.sh" native; fi
if wants wine dpi soak auto windows bench; then
    "$ROOT/scripts/build.sh" windows
    "$ROOT/scripts/check_imports.sh" "$BUILD/win/bin/korbela.exe"
fi

if wants unit; then
    log "Native tests"
    ctest --test-dir "$BUILD/native" --output-on-failure -j "$JOBS"
fi

# The core's suites under the sanitizers, and the fuzzing run: they only
# compile and compute.
core_checks() {
    if wants sanitizers; then
        log "Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
        cmake -S "$ROOT" -B "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DKORBELA_SANITIZE=ON \
              -DCMAKE_CXX_COMPILER=clang++
        cmake --build "$BUILD/asan" -j "$JOBS" --target korbela_tests
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --test-dir "$BUILD/asan" --output-on-failure -j "$JOBS"
    fi
    if wants fuzz; then
        log "Fuzzing the performance-data parser (fixed number of inputs)"
        "$ROOT/fuzz/run_short.sh" "$BUILD/fuzz"
    fi
}

if ! wants wine dpi soak auto windows bench; then
    core_checks
    exit 0
fi

# Ends of the real program with Wine checking the heap: Wine logs "err:seh" for
# an exception inside a callback, such as a tick that reaches a window that has
# already gone. Every copy the test started must show in the log (its DLL
# loads), or the log was not read and the check fails.
heap_checked_exit() {
    local log="$BUILD/heap_checked_exit.log" status=0 pid count=0
    (cd "$BUILD/win/bin" && WINEDEBUG=+pid,warn+heap,err+all,trace+loaddll \
        "$RUN_IN_WINE" ./korbela_wine_tests.exe --gtest_filter='HeapCheckedExit.*' </dev/null >"$log" 2>&1) || status=$?
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

# The window at 150 %, in a prefix and on a display of their own whose
# resolution is 144 dpi. Wine 8 takes it from HKCU\Control Panel\Desktop\LogPixels
# (before the machine's HKCC\Software\Fonts value that winecfg writes) and
# gives it to every program alike; the screenshots are named *-144dpi.bmp.
scaled_display_tests() (
    wine_test_session "$BUILD/wineprefix-dpi" 144
    cd "$BUILD/win/bin"
    status=0
    "$RUN_IN_WINE" ./korbela_wine_tests.exe \
        --gtest_filter='DisplayScaleLayout.*:CaptionFit.*:MessageDialog.*:Monitor.*:Keyboard.TheFocusCue*:Notification.TheIcon*' \
        </dev/null || status=$?
    wineserver -k || true
    exit "$status"
)

# Automatic freeing waits for three of its one-minute checks: it runs beside
# the 144-dpi tests and the soak, in a prefix and on a display of its own,
# where /proc/meminfo is a file the test writes (see with_fake_meminfo).
auto_freeing_tests() (
    wine_test_session "$BUILD/wineprefix-auto"
    cd "$BUILD/win/bin"
    status=0
    with_fake_meminfo "$BUILD/win/meminfo" "$RUN_IN_WINE" ./korbela_wine_tests.exe --gtest_filter='AutoFreeing.*' \
        </dev/null || status=$?
    wineserver -k || true
    exit "$status"
)

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

# Waits for a stage that ran in the background, shows what it printed, and
# ends the run with its status when it failed.
finish_background() {
    local job="$1" output="$2" what="$3" status=0
    wait "$job" || status=$?
    cat "$output"
    [ "$status" -eq 0 ] || { echo "$what failed" >&2; exit "$status"; }
}

# With the real program to test, the core's checks run beside its integration
# tests, which mostly wait for the program, at a lower priority.
core_checks_job=
if wants sanitizers fuzz; then
    (
        renice -n 10 -p "$BASHPID" >/dev/null
        core_checks
    ) >"$BUILD/core_checks.log" 2>&1 &
    core_checks_job=$!
fi

wine_test_session "$WINEPREFIX"
# Keep one wineserver and Wine's own background processes running for the whole
# run, started here so that they do not hold ctest's output pipes open.
wineserver -p 120 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

if wants wine; then
    log "Integration tests of the real program under Wine"
    ctest --test-dir "$BUILD/win" --output-on-failure -E '^(Soak|AutoFreeing|HeapCheckedExit)\.|^korbela_tests$'
    # Mostly waiting for ticks: beside the tests at 144 dpi, on their own display.
    heap_checked_exit >"$BUILD/heap_checked_exit.summary" 2>&1 &
    heap_exit=$!
fi

if [ -n "$core_checks_job" ]; then
    log "The core's checks, run beside the integration tests"
    finish_background "$core_checks_job" "$BUILD/core_checks.log" "the sanitizer suites or the fuzzing run"
fi

if wants auto; then
    auto_freeing_tests >"$BUILD/auto_freeing.log" 2>&1 &
    auto_freeing=$!
fi

if wants dpi; then
    log "Integration tests at 144 dpi"
    scaled_display_tests
fi

if wants wine; then
    log "Five ends of the program with Wine's heap checks"
    finish_background "$heap_exit" "$BUILD/heap_checked_exit.summary" "the heap-checked ends of the program"
fi

if wants windows; then
    windows_builds >"$BUILD/windows_builds.log" 2>&1 &
    windows_builds=$!
fi

if wants soak; then
    log "Soak: two minutes of the real program at one-second ticks, with its figures"
    ctest --test-dir "$BUILD/win" --verbose -R '^Soak\.TwoMinutes'
fi

if wants windows; then
    log "Core suites built with MinGW-w64, under Wine; korbela.exe built with clang"
    finish_background "$windows_builds" "$BUILD/windows_builds.log" "the MinGW-w64 core suites or the clang build"
    ctest --test-dir "$BUILD/win" --output-on-failure -R '^korbela_tests$'
fi

if wants auto; then
    log "Automatic freeing of the real program: three checks, one a minute"
    finish_background "$auto_freeing" "$BUILD/auto_freeing.log" "the automatic freeing tests"
fi

if wants bench; then
    log "Benchmarks (figures only, each against its own baseline)"
    # Each where its figure means something: the freeing run on VirtualAlloc, the
    # widgets on GDI and the idle cost under Wine; the usage tick natively, where
    # the memory status is read afresh on every call (Wine keeps it for a second).
    for bench in freeing_run_bench widgets_bench idle_cost_win; do
        (cd "$BUILD/win/bin" && timeout 150 wine "./$bench.exe" </dev/null) || echo "$bench.exe failed" >&2
    done
    timeout 60 "$BUILD/native/bin/usage_tick_bench" || echo "usage_tick_bench failed" >&2
fi
wineserver -k || true
