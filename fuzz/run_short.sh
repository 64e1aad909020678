#!/usr/bin/env bash
# A short run of the CPU sampler's fuzz target: configures <build-dir> with clang and
# KORBELA_FUZZ, builds only the fuzz target and its seed writer, and runs 200000 inputs on a
# copy of the seeds. Exits non-zero when the fuzzer finds anything (the input is kept in
# <build-dir> as crash-*, leak-*, timeout-* or oom-*).
set -euo pipefail

if [ "$#" -ne 1 ]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"

cmake -S "$repo" -B "$build" -DKORBELA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" --target cpu_usage_fuzz korbela_fuzz_seeds -j2

corpus="$build/cpu_usage_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
if compgen -G "$repo/fuzz/corpus/*" > /dev/null; then
    cp "$repo"/fuzz/corpus/* "$corpus"/
fi
"$build/fuzz/korbela_fuzz_seeds" "$corpus"

"$build/fuzz/cpu_usage_fuzz" -runs=200000 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/" "$corpus"
