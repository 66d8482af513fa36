#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Korvatel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
korvatel_require_packages

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVATEL_BUILD_TESTS=OFF -DKORVATEL_BUILD_BENCH=OFF
cmake --build build/release --target korvatel
exec build/release/app/korvatel "$@"
