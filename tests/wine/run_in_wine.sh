#!/usr/bin/env bash
# Runs a Windows test program under Wine: CTest's emulator for the Wine tests,
# and the scripts' runner for whole suites.
#
# Wine now and then ends a program with an error before the program has
# printed anything, so before it reached its tests: GoogleTest prints the
# filter or its first line and flushes it before any test runs. Such a run
# proves nothing about the program; it is reported, with Wine's status and
# how long it took, and the program is started once more. A run that printed
# anything keeps its status, pass or fail, and is never repeated.
#
# Wine dies with this script (a test's timeout ends the script), so it never
# outlives the run that started it.
set -u

output="$(mktemp)"
trap 'rm -f "$output"' EXIT

started=$(date +%s%N)
setpriv --pdeathsig KILL -- wine "$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
if [ "$status" -eq 0 ] || [ -s "$output" ]; then exit "$status"; fi

elapsed_ms=$((($(date +%s%N) - started) / 1000000))
echo "run_in_wine: wine ended with status $status after $elapsed_ms ms before $1 printed anything;" \
     "it never reached its tests, so it is started once more"
rm -f "$output"
exec setpriv --pdeathsig KILL -- wine "$@" 2>&1
