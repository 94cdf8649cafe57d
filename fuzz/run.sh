#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds over its committed seeds. Inputs that reach new
# code are kept in the work folder's corpus, failing inputs in its crashes folder.
set -euo pipefail
if [ $# -ne 4 ]; then
    echo "usage: $0 FUZZ_TARGET SEEDS_DIR WORK_DIR SECONDS" >&2
    exit 2
fi
target=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work/corpus" "$work/crashes"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" "$seeds"
