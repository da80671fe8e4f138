#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs every test.
# Every test binary also runs whole, as one process.
# VARNOTEL_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer instead;
# VARNOTEL_FUZZ=1 builds the fuzz targets with clang and gives each a short run (ctest -L fuzz).
# The plain build then runs every benchmark once, briefly: one that crashes, fails or reports
# an error fails the run (the figures mean nothing here; measure on a quiet machine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build
flags=()
if [ "${VARNOTEL_SANITIZE:-0}" = 1 ]; then
  build=build-sanitize
  flags+=(-DVARNOTEL_SANITIZE=ON -DVARNOTEL_BENCH=OFF)
fi
target=all
if [ "${VARNOTEL_FUZZ:-0}" = 1 ]; then
  if ! command -v clang++ >/dev/null; then
    echo "No clang: the fuzz targets are not built." >&2
    exit 0
  fi
  build=build-fuzz
  target=fuzz_targets
  flags+=(-DCMAKE_CXX_COMPILER=clang++ -DVARNOTEL_FUZZ=ON -DVARNOTEL_TESTS=OFF -DVARNOTEL_BENCH=OFF)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
cmake --build "$build" --target "$target" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
# ctest runs each test in a process of its own; each binary run whole finds tests that pass
# only because of the order they run in or the state an earlier one left behind.
whole_failed=0
for test in "$build"/tests/test_*; do
  [ -f "$test" ] && [ -x "$test" ] || continue
  # From the tests' folder, as ctest runs them: what a test writes beside it stays there.
  if ! out=$(cd "$(dirname "$test")" && "./$(basename "$test")" 2>&1); then
    echo "$out" | grep -E '^\[  FAILED  \]' >&2 || true
    echo "The test binary $(basename "$test") failed when run whole." >&2
    whole_failed=1
  fi
done
[ "$whole_failed" = 0 ] || exit 1
if [ "$build" = build ] && [ -d "$build/bench" ]; then
  for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "Benchmark $(basename "$bench")"
    if ! out=$("$bench" --benchmark_min_time=0.001 2>&1); then
      echo "$out" >&2
      echo "The benchmark $(basename "$bench") failed." >&2
      exit 1
    fi
    if grep -q "ERROR OCCURRED" <<<"$out"; then
      echo "$out" >&2
      echo "The benchmark $(basename "$bench") reported an error." >&2
      exit 1
    fi
  done
fi
