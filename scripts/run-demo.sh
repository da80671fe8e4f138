#!/usr/bin/env bash
# Installs what is needed, builds, and runs the host simulator's built-in demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target varnotel-sim >/dev/null
exec ./build/sim/varnotel-sim "$@"
