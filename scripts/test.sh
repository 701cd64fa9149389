#!/usr/bin/env bash
# Builds everything and runs every test. Usage: scripts/test.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build="${1:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
