#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds over the given input folders (the kept corpus and
# the seeds). Inputs that reach new code are kept in the work folder's corpus, failing inputs in
# its crashes folder.
set -euo pipefail
if [ $# -lt 4 ]; then
    echo "usage: $0 FUZZ_TARGET WORK_DIR SECONDS INPUT_DIR..." >&2
    exit 2
fi
target=$1 work=$2 seconds=$3
shift 3
mkdir -p "$work/corpus" "$work/crashes"
# The per-input timeout only catches an input that hangs: speed is for the benchmarks to judge,
# and a busy or paused machine once held a 0.1 s input for 39 s.
exec "$target" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" "$@"
