#!/usr/bin/env bash
# Runs one fuzz target over its seed corpus and then on new inputs.
#   run-target.sh PROGRAM NAME SECONDS WORK ARTIFACTS [fresh|keep] [libFuzzer flags...]
# New inputs that reach new code go into WORK (emptied first with "fresh"); a crash, hang or
# runaway allocation is kept in ARTIFACTS as a reproducer and fails the run.
set -euo pipefail
program=$1 name=$2 seconds=$3 work=$4 artifacts=$5 mode=${6:-keep}
shift $(( $# < 6 ? $# : 6 ))
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/corpus/$name
[ -d "$seeds" ] || { echo "no seed corpus $seeds" >&2; exit 2; }
[ "$mode" = fresh ] && rm -rf "$work"
mkdir -p "$work" "$artifacts"
# Absolute, as a target may change its working folder (the scenario target works in a scratch one).
work=$(cd "$work" && pwd) artifacts=$(cd "$artifacts" && pwd)

flags=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024
       -max_len=16384 -print_final_stats=1 -artifact_prefix="$artifacts/")
[ -f "$here/$name.dict" ] && flags+=(-dict="$here/$name.dict")
if [ -f "$here/$name.options" ]; then
  # shellcheck disable=SC2207
  flags+=($(grep -v '^#' "$here/$name.options"))
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
[ -f "$here/lsan.supp" ] && export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp}
exec "$program" "${flags[@]}" "$@" "$work" "$seeds"
