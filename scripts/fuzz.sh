#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS] [NAME...]
# FUZZ_JOBS=N runs N targets at a time (default 1); FUZZ_RUNS=N stops a target after N inputs.
# Each target keeps the inputs it found in build-fuzz/fuzz-corpus/NAME (minimized after the
# run) and starts from them the next time; crashes, hangs and runaway allocations are kept as
# reproducers in tests/fuzz/crashes/NAME/ -- once mended, move them into tests/fuzz/corpus/NAME/.
# The log of each run is build-fuzz/fuzz-logs/NAME.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
command -v clang++ >/dev/null || { echo "fuzz.sh needs clang (scripts/setup.sh installs it)" >&2; exit 2; }

build=build-fuzz
cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVARNOTEL_FUZZ=ON -DVARNOTEL_TESTS=OFF -DVARNOTEL_BENCH=OFF >/dev/null
cmake --build $build --target fuzz_targets -j"${FUZZ_BUILD_JOBS:-$(nproc)}"

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do n=$(basename "$f" .cpp); names+=("${n#fuzz_}"); done
fi
mkdir -p $build/fuzz-logs

run_one() {
  local name=$1 work=$build/fuzz-corpus/$1 log=$build/fuzz-logs/$1.log status=0
  local extra=()
  [ -n "${FUZZ_RUNS:-}" ] && extra+=(-runs="$FUZZ_RUNS")
  bash tests/fuzz/run-target.sh "$build/tests/fuzz/fuzz_$name" "$name" "$seconds" "$work" \
    "tests/fuzz/crashes/$name" keep "${extra[@]}" >"$log" 2>&1 || status=$?
  # Keep only the inputs that add coverage, so the next run starts from a small corpus.
  if [ -d "$work" ]; then
    rm -rf "$work.min" && mkdir -p "$work.min"
    if "$build/tests/fuzz/fuzz_$name" -merge=1 "$work.min" "$work" >/dev/null 2>&1; then
      rm -rf "$work" && mv "$work.min" "$work"
    else
      rm -rf "$work.min"
    fi
  fi
  local stats
  stats=$(grep -E '^(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs)' "$log" | tr '\n' ' ' || true)
  if [ $status -eq 0 ]; then
    echo "fuzz_$name: ok  $stats"
  else
    echo "fuzz_$name: FAILED (exit $status), see $log; reproducers in tests/fuzz/crashes/$name/"
  fi
  rmdir "tests/fuzz/crashes/$name" 2>/dev/null || true
  rmdir tests/fuzz/crashes 2>/dev/null || true
  return $status
}

failed=0
running=0
for name in "${names[@]}"; do
  [ -f "tests/fuzz/fuzz_$name.cpp" ] || { echo "no fuzz target $name" >&2; failed=1; continue; }
  run_one "$name" &
  running=$((running + 1))
  if [ $running -ge "${FUZZ_JOBS:-1}" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
