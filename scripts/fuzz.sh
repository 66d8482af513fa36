#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60; the test command runs a short round, a long one is e.g. `scripts/fuzz.sh 3600`).
# The checked-in corpus seeds every run; new inputs found go to a scratch copy, and an input
# that fails is kept under build/fuzz/ and named in the output.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
korvatel_require_packages

seconds=${1:-60}
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build build/fuzz

for target in param_number; do
    corpus=build/fuzz/corpus-$target
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/$target/* "$corpus"/
    echo "== Fuzzing $target for $seconds s"
    build/fuzz/${target}_fuzz -max_total_time="$seconds" -max_len=512 -print_final_stats=1 \
        -dict=tests/fuzz/$target.dict -artifact_prefix=build/fuzz/$target- "$corpus" \
        2>&1 | grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units|Disagreement|==[0-9]+==ERROR|SUMMARY)' || true
    # libFuzzer leaves a crash-* or leak-* file for every failing input.
    if compgen -G "build/fuzz/$target-*" > /dev/null; then
        echo "Fuzzing $target found failing inputs:" build/fuzz/$target-* >&2
        exit 1
    fi
done
