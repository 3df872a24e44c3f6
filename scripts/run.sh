#!/usr/bin/env bash
# Installs the packages, builds and installs hv6 under ./out and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then ./scripts/install-deps.sh; else sudo ./scripts/install-deps.sh; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
cmake --install build --prefix "$PWD/out"
"$PWD/out/bin/hv6" "$@"
