#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs every test.
# VARNOTEL_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build
flags=(-DVARNOTEL_WERROR=ON)
if [ "${VARNOTEL_SANITIZE:-0}" = 1 ]; then
  build=build-sanitize
  flags+=(-DVARNOTEL_SANITIZE=ON -DVARNOTEL_BENCH=OFF)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
