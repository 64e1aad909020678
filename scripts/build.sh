#!/usr/bin/env bash
# Builds the native core with its tests and benchmarks, and the Windows program
# with its manual, setup, Wine tests and benchmarks (MinGW-w64 cross build).
# The core suites of the cross build are left to scripts/test.sh, which builds
# them (--target korbela_tests) while a long test waits.
#   build.sh                  both builds
#   build.sh native|windows   one of them
#   build.sh program          only what scripts/start.sh starts: korbela.exe,
#                             its manual and its setup
set -euo pipefail
. "$(dirname "$0")/common.sh"

what="${1:-all}"
case "$what" in
all | native | windows | program) ;;
*) echo "usage: build.sh [native|windows|program]" >&2; exit 2 ;;
esac

if [ "$what" = all ] || [ "$what" = native ]; then
    log "Native build (core, tests, benchmarks)"
    cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$BUILD/native" -j "$JOBS"
fi

if [ "$what" != native ]; then
    log "Windows build (MinGW-w64)"
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DKORBELA_CORE_TESTS_IN_ALL=OFF
    if [ "$what" = program ]; then
        cmake --build "$BUILD/win" -j "$JOBS" --target korbela korbela_manual korbela_setup
    else
        cmake --build "$BUILD/win" -j "$JOBS"
    fi
fi
