#!/usr/bin/env bash
# Builds the native core with its tests and the Windows program (MinGW-w64 cross
# build). The core suites of the cross build are left to scripts/test.sh, which
# builds them (--target korbela_tests) while a long test waits.
set -euo pipefail
. "$(dirname "$0")/common.sh"

log "Native build (core, tests, benchmarks)"
cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Release
cmake --build "$BUILD/native" -j "$JOBS"

log "Windows build (MinGW-w64)"
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DKORBELA_CORE_TESTS_IN_ALL=OFF
cmake --build "$BUILD/win" -j "$JOBS"
