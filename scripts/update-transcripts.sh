#!/usr/bin/env bash
# Writes each example's transcript (sim/examples/NAME.transcript) anew from the built
# simulator, after a change meant to alter what the examples show. Read the diff of the
# transcripts before committing: it is every change of behaviour the examples see.
# Usage: scripts/update-transcripts.sh [BUILD_FOLDER] (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sim="$build/sim/varnotel-sim"
[ -x "$sim" ] || { echo "no simulator at $sim: build the target varnotel-sim first" >&2; exit 2; }
# The examples run as the test runs them: from a folder of their own (what they export
# lands there), with settings of their own, and nobody at the terminal.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
for scenario in "$root"/sim/examples/*.scenario; do
  transcript="${scenario%.scenario}.transcript"
  if ! (cd "$work" && env -u VARNOTEL_REGISTRY "$sim" "$scenario" </dev/null >"$transcript" 2>/dev/null); then
    echo "$(basename "$scenario"): failed (see the end of $(basename "$transcript"))" >&2
    failed=1
  fi
done
exit "$failed"
