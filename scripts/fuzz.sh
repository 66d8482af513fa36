#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang and runs each for a number of seconds: the number
# syntax's for the first argument, the chart engine's for the second (both default to 60; the
# test command runs a short round, a long one is e.g. `scripts/fuzz.sh 3600 3600`).
# The checked-in corpus seeds every run; new inputs found go to a scratch copy, and an input
# that fails is kept under build/fuzz/ and named in the output. The chart target runs each
# input under a memory limit and a time limit, and reports how many inputs it ran a second
# and how many code edges of the engine they reached.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
korvatel_require_packages

seconds=${1:-60}
chart_seconds=${2:-$seconds}
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build build/fuzz

# Target, seconds, then the target's own options.
fuzz() {
    local target=$1 time=$2
    shift 2
    local corpus=build/fuzz/corpus-$target
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/$target/* "$corpus"/
    echo "== Fuzzing $target for $time s"
    build/fuzz/${target}_fuzz -max_total_time="$time" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/$target- "$@" "$corpus" 2>&1 |
        grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units|stat::average_exec_per_sec|Disagreement|Chart fuzz|==[0-9]+==ERROR|SUMMARY)' || true
    # libFuzzer leaves a crash-*, leak-*, oom-* or timeout-* file for every failing input (a
    # slow-unit-* file only notes an input that took long).
    if compgen -G "build/fuzz/$target-[clot][reoi]*" > /dev/null; then
        echo "Fuzzing $target found failing inputs:" build/fuzz/$target-[clot][reoi]* >&2
        exit 1
    fi
}

fuzz param_number "$seconds" -max_len=512 -dict=tests/fuzz/param_number.dict
# Qt's font library keeps its caches to the end, which the leak checker must not count. The
# time limit allows for the sanitizers' slowdown on a busy machine.
QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/lsan.supp \
    fuzz chart "$chart_seconds" -max_len=4096 -timeout=20 -rss_limit_mb=1536
