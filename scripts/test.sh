#!/usr/bin/env bash
# Installs the packages, builds everything with Ninja and runs the whole
# test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then ./scripts/install-deps.sh; else sudo ./scripts/install-deps.sh; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHV6_WERROR=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
