#!/usr/bin/env bash
# Installs what is missing, builds every test under AddressSanitizer and UndefinedBehaviorSanitizer, runs them.
# ./test.sh -L LABEL runs the tests of one label; VB_FUZZ_SECONDS=N also runs each fuzz target N seconds.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" "$@"

if [[ -n "${VB_FUZZ_SECONDS:-}" ]]; then
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$jobs"
    build/fuzz/fuzz/FuzzSeeds build/fuzz/corpus
    for target in build/fuzz/fuzz/*Fuzz; do
        [[ -x "$target" ]] || continue
        corpus="build/fuzz/corpus/$(basename "$target")"
        mkdir -p "$corpus"
        echo "Fuzzing $(basename "$target") for ${VB_FUZZ_SECONDS} s"
        "$target" -max_total_time="$VB_FUZZ_SECONDS" -print_final_stats=1 "$corpus"
    done
fi
