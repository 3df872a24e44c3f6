#!/usr/bin/env bash
# Installs the packages, builds hv6, installs it into a per-user prefix,
# points its settings at the demo data and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then ./scripts/install-deps.sh; else sudo ./scripts/install-deps.sh; fi

prefix="${HV6_PREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/hv6}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
cmake --install build --prefix "$prefix"
"$prefix/bin/hv6-install" --prefix "$prefix" --demo

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$prefix/bin/hv6" "$@"
fi
echo "No display found: starting hv6 offscreen once to check that it starts."
QT_QPA_PLATFORM=offscreen "$prefix/bin/hv6" --check-start
pdf="$prefix/calendar-$(date +%Y%m).pdf"
QT_QPA_PLATFORM=offscreen "$prefix/bin/hv6" --print "$(date +%Y%m)" --pdf "$pdf"
echo "This month's calendar of the demo farm is printed to: $pdf"
