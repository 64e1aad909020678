#!/usr/bin/env bash
# Counts the files with code that two flows of the real program cross:
# "Medium Clean" from the tray menu's command to the window hiding again, and
# one usage tick from the timer thread to the tray tip. It builds korbela.exe
# with every function reporting its calls (tools/walk/), drives it under Wine
# on 256 MB of reported memory (tools/walk/walk_driver.cpp) and lists, for
# each flow, the source files of the functions that ran in it: first the
# flow's own calls, the walk a reader follows (a message the flow causes, a
# paint or the activation that showing a window brings, starts a flow of its
# own, and so do the messages its message pump dispatches), then what else ran
# meanwhile. Headers that only declare interfaces hold no code and never show.
# Not part of the tests.
#   walk.sh [--again] [TREE]   TREE: the source tree to count, this one by
#                              default; --again: report from the last run's
#                              record, without building or running
set -euo pipefail
. "$(dirname "$0")/common.sh"

again=
if [ "${1:-}" = --again ]; then again=1; shift; fi
tree="$(realpath "${1:-$ROOT}")"
out="$BUILD/walk"
prefix="$out/wineprefix"
mingw=x86_64-w64-mingw32

"$ROOT/scripts/setup.sh"
if [ -z "$again" ]; then
    log "Instrumented build of $tree"
    cmake -S "$tree" -B "$out" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKORBELA_WALK=ON \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$out" -j "$JOBS" --target korbela >/dev/null
    $mingw-g++-posix -O1 -static -o "$out/bin/walk_driver.exe" "$ROOT/tools/walk/walk_driver.cpp"
elif [ ! -f "$out/walk.log" ]; then
    echo "walk.sh: no earlier run in $out; run it once without --again" >&2
    exit 1
fi
exe="$out/bin/korbela.exe"

base="$($mingw-objdump -p "$exe" | awk '$1 == "ImageBase" { print $2 }')"
symbols="$($mingw-nm -C "$exe")"
offset_of() {  # the module offset of a function, by its demangled name
    local address
    address="$(grep -F " T $1" <<<"$symbols" | head -1 | cut -d' ' -f1)"
    [ -n "$address" ] || { echo "walk.sh: $1 not found in $exe" >&2; exit 1; }
    printf '%x' $((0x$address - 0x$base))
}
choose="$(offset_of 'korbela::TrayMenu::Choose(unsigned int)')"
tick="$(offset_of 'korbela::TThreadTimer::Tick()')"
usage="$(offset_of 'korbela::TfrmKRmain::tmrUsageTimer()')"
pump="$(offset_of 'korbela::Win32MessagePump::ProcessMessages()')"
procedures="$(offset_of 'korbela::WindowBase::WindowProc(')","$(offset_of 'korbela::SubclassBase::SubclassProc(')"

if [ -z "$again" ]; then
    log "Medium Clean and usage ticks under Wine"
    rm -f "$out/walk.log"
    (
        wine_test_session "$prefix"
        wine reg delete 'HKCU\software\Quillmarsh' /f </dev/null >/dev/null 2>&1 || true
        memory="$out/meminfo"
        # The file is bound over /proc/meminfo: it is written in place, never
        # replaced. The free memory moves every second, so that each tick has a
        # new tray tip to show.
        with_fake_meminfo "$memory" bash -c '
            memory() {
                sed -e "s/^MemTotal:.*/MemTotal:         262144 kB/" -e "s/^MemFree:.*/MemFree:          $1 kB/" \
                    -e "s/^MemAvailable:.*/MemAvailable:     $1 kB/" "$KORBELA_FAKE_MEMINFO" >"$KORBELA_FAKE_MEMINFO.new"
                cat "$KORBELA_FAKE_MEMINFO.new" >"$KORBELA_FAKE_MEMINFO"
            }
            memory 131072
            ( for free in $(seq 131072 4096 262144); do sleep 1; memory "$free"; done ) &
            mover=$!
            "$@"
            status=$?
            kill "$mover" 2>/dev/null
            exit "$status"' bash env KORBELA_WALK_LOG="$(winepath -w "$out/walk.log")" KORBELA_WALK_MARKERS="$choose,$tick" \
            KORBELA_WALK_CUTS="$pump" KORBELA_WALK_ENTRIES="$procedures" \
            wine "$out/bin/walk_driver.exe"
        wineserver -k || true
    )
fi

# The functions of a set of offsets as "file<TAB>function", the program's own only.
resolve() {
    tr -d '\r' | tr ' ' '\n' | grep -v '^$' | while read -r offset; do printf '0x%x\n' $((0x$base + 0x$offset)); done |
        # LLVM's symbolizer names the file a function is written in, an inline
        # one's header too, where binutils' addr2line names where it was used.
        llvm-symbolizer-14 --obj="$exe" --no-inlines --demangle | paste - - - |
        awk -F'\t' -v tree="$tree/" '{ file = $2; sub(/:[0-9]+:[0-9]+$/, "", file);
               if (index(file, tree) == 1) { file = substr(file, length(tree) + 1);
                   if (file ~ /^(core|win32)\//) print file "\t" $1 } }' |
        # The message loop the flows start from is not part of them.
        grep -v -e $'\tWinMain' -e $'\tkorbela::KorbelaApplication::Run()' -e $'\tkorbela::DispatchWithKeyboardInterface(' |
        sort -u
}
files() { cut -f1 | sort -u | grep .; }
report() {  # title, the flow's own calls, everything that ran: "file<TAB>function" lines
    local title="$1" calls="$2" all="$3"
    printf '\n%s: %s files (%s sources; %s with a header and its source as one)\n' "$title" \
        "$(files <<<"$calls" | grep -c .)" "$(files <<<"$calls" | grep -c '\.cpp$')" \
        "$(files <<<"$calls" | sed 's/\.[a-z]*$//' | sort -u | grep -c .)"
    cut -f1 <<<"$calls" | sort | uniq -c | awk '{ printf "  %-40s %3d functions\n", $2, $1 }'
    if [ -n "${KORBELA_WALK_FUNCTIONS:-}" ]; then sed 's/^/    /' <<<"$calls"; fi
    printf '  and what the messages it caused ran: %s more files\n' \
        "$(comm -13 <(files <<<"$calls") <(files <<<"$all") | grep -c .)"
    comm -13 <(files <<<"$calls") <(files <<<"$all") | sed 's/^/    /'
}
episode() {  # marker, kind, line: the offsets of that episode's line of that kind
    tr -d '\r' <"$out/walk.log" | awk -v marker="$1" -v kind="$2" -v line="$3" \
        '$1 == marker && $2 == kind && ++seen == line { $1 = ""; $2 = ""; print }'
}

# The first choice from the tray menu is Medium Clean (the second is Exit).
report "Medium Clean, tray command to the window hiding" "$(episode "$choose" calls 1 | resolve)" \
    "$(episode "$choose" all 1 | resolve)"
# The usage tick with the most calls, with what the timer's thread ran.
ticks="$(tr -d '\r' <"$out/walk.log" | awk -v tick="$tick" '$1 == tick && $2 == "calls" { ++n; print n, NF }' |
    while read -r n size; do
        episode "$tick" calls "$n" | grep -q " $usage\( \|$\)" && echo "$size $n"
    done | sort -rn | head -1 | cut -d' ' -f2)"
[ -n "$ticks" ] || { echo "walk.sh: no usage tick was recorded" >&2; exit 1; }
thread="$(episode 0 calls 1)"
report "One usage tick, timer thread to tray tip" "$( (episode "$tick" calls "$ticks"; echo "$thread") | tr '\n' ' ' | resolve)" \
    "$( (episode "$tick" all "$ticks"; echo "$thread") | tr '\n' ' ' | resolve)"
