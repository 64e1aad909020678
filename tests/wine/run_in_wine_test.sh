#!/usr/bin/env bash
# The Wine runner against a stand-in for wine that plays a given sequence of
# runs: it starts a program again only when the first run ended with an error
# before printing anything, at most once, hands the arguments on as they came,
# and takes Wine down with it when it is killed.
set -u

runner="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/run_in_wine.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# Each run of the stand-in takes the next line of $work/plays: "<status>" ends
# silently with that status, "<status> <text>" prints the text first, "sleep"
# waits to be killed. Every run appends its arguments to $work/calls.
cat >"$work/bin/wine" <<'EOF'
#!/usr/bin/env bash
printf '%s|' "$@" >>"$WORK/calls"
echo >>"$WORK/calls"
run=$(wc -l <"$WORK/calls")
play="$(sed -n "${run}p" "$WORK/plays")"
if [ "$play" = sleep ]; then echo $$ >"$WORK/sleeper"; exec sleep 600; fi
status="${play%% *}"
[ "$play" = "$status" ] || echo "${play#* }"
exit "$status"
EOF
chmod +x "$work/bin/wine"
export WORK="$work" PATH="$work/bin:$PATH"

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# name | the stand-in's runs | the runner's status | how many runs | a line the output must hold
while IFS='|' read -r name plays want_status want_runs want_text; do
    rm -f "$work/calls"
    tr ',' '\n' <<<"$plays" >"$work/plays"
    output="$("$runner" suite.exe '--gtest_filter=Close/A.B/X  # GetParam() = X' </dev/null 2>&1)"
    status=$?
    runs=$(wc -l <"$work/calls")
    [ "$status" -eq "$want_status" ] || fail "$name: status $status, not $want_status"
    [ "$runs" -eq "$want_runs" ] || fail "$name: $runs runs, not $want_runs"
    grep -qF -- "$want_text" <<<"$output" || fail "$name: no '$want_text' in: $output"
    while read -r call; do
        [ "$call" = 'suite.exe|--gtest_filter=Close/A.B/X  # GetParam() = X|' ] ||
            fail "$name: the arguments came as $call"
    done <"$work/calls"
done <<'TABLE'
a pass is not repeated|0 [  PASSED  ] 1 test.|0|1|[  PASSED  ] 1 test.
a failure that printed keeps its status|1 [  FAILED  ] A.B|1|1|[  FAILED  ] A.B
a silent error is started once more|53,0 [  PASSED  ] 1 test.|0|2|wine ended with status 53 after
the second run's failure stands|53,1 [  FAILED  ] A.B|1|2|[  FAILED  ] A.B
two silent errors fail, no third run|5,5|5|2|before suite.exe printed anything
a silent pass is a pass|0|0|1|
TABLE

# A timeout kills the runner: the program under Wine goes with it.
rm -f "$work/calls" "$work/sleeper"
echo sleep >"$work/plays"
"$runner" suite.exe >/dev/null 2>&1 &
runner_pid=$!
for _ in $(seq 1 200); do [ -s "$work/sleeper" ] && break; sleep 0.05; done
if [ ! -s "$work/sleeper" ]; then
    fail "the stand-in never started"
else
    sleeper=$(cat "$work/sleeper")
    kill -KILL "$runner_pid"
    wait "$runner_pid" 2>/dev/null
    for _ in $(seq 1 200); do kill -0 "$sleeper" 2>/dev/null || break; sleep 0.05; done
    if kill -0 "$sleeper" 2>/dev/null; then
        kill "$sleeper"
        fail "wine outlived the killed runner"
    fi
fi

[ "$failures" -eq 0 ] && echo "run_in_wine: all cases passed"
exit $((failures > 0))
