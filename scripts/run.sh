#!/usr/bin/env bash
# Builds the program and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target twinfold
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/app/twinfold "$@"
fi
exec build/app/twinfold "$@"
