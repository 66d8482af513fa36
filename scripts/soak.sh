#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the real window under random input for the given number of seconds (default 3600)
# with the given seed (default: a new one each run, printed so that a failure can be
# repeated); the test command runs a two-minute round with seed 1.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
korvatel_require_packages

seconds=${1:-3600}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
cmake -S . -B build/check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build/check --target korvatel_soak
QT_QPA_PLATFORM=offscreen build/check/tests/korvatel_soak --seconds "$seconds" --seed "$seed"
