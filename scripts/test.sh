#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, then builds and runs every test twice: in a normal build and in
# a build with AddressSanitizer and UndefinedBehaviorSanitizer, where any finding fails; then
# checks the installed program and its Debian packages, runs the engine's tests under
# valgrind's memcheck and a short fuzzing round of the parameter fields' number syntax and of
# the chart engine, and makes the engine's API reference. The normal build's tests include the
# engine as other programs use it: installed, its headers compiled alone, the examples built
# against the installed package and through pkg-config, and the checkout taken in with
# add_subdirectory.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
korvatel_require_packages

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Normal build"
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/check -j "$jobs"
ctest --test-dir build/check --output-on-failure -j "$jobs"

echo "== Install and package"
./scripts/check-package.sh build/check

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVATEL_SANITIZE=ON \
    -DKORVATEL_BUILD_BENCH=OFF -DKORVATEL_BUILD_EXAMPLES=OFF
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== Engine tests under valgrind's memcheck"
# The printed-page test reads its page back through pdftoppm; while that child runs, memcheck
# reports conditional jumps in code it cannot name, outside the engine. That test alone runs
# without memcheck (the normal and the sanitizer builds run it). Memcheck runs one thread, so
# the folders run side by side, one per core; each folder's report is shown when it ends.
memcheck() {
    local log=build/check/memcheck-$1.log
    if valgrind -q --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=definite \
        --show-leak-kinds=definite --suppressions=tests/valgrind.supp \
        build/check/tests/korvatel_tests_$1 --gtest_brief=1 \
        --gtest_filter=-ChartPdfTest.APrintoutIsOnePageWithinTheMarginsCentredAcross \
        >"$log" 2>&1; then
        echo "memcheck $1: clean"
    else
        cat "$log"
        echo "memcheck $1: FAILED"
        return 1
    fi
}
export -f memcheck
printf '%s\n' render canvas data axes core |
    xargs -P "$jobs" -I{} bash -c 'memcheck {}'

echo "== Fuzzing (a short round; scripts/fuzz.sh <seconds> <seconds> runs a longer one)"
./scripts/fuzz.sh 20 60

echo "== API reference (no Doxygen warning allowed)"
cmake --build build/check --target docs

echo "== All tests passed"
