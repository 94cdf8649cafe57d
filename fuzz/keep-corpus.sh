#!/usr/bin/env bash
# Minimises what a fuzz target has found into its committed corpus: the smallest set of inputs
# of at most MAX_BYTES (4 KiB by default) from the kept corpus and the found folders that reaches
# every feature the seeds do not. The cap keeps the repository small; the seeds hold the one
# full-size stored form.
set -euo pipefail
if [ $# -lt 4 ]; then
    echo "usage: $0 FUZZ_TARGET SEEDS_DIR KEPT_CORPUS_DIR FOUND_DIR..." >&2
    exit 2
fi
target=$1 seeds=$2 kept=$3
shift 3
mkdir -p "$kept"
max_bytes=${MAX_BYTES:-4096}
merged=$(mktemp -d) small=$(mktemp -d)
trap 'rm -rf "$merged" "$small"' EXIT
for folder in "$kept" "$@"; do
    find "$folder" -type f -size -"$((max_bytes + 1))"c -exec cp -t "$small" {} +
done
# A merge keeps what its output folder already holds, so starting from the seeds and taking them
# out again afterwards leaves only the inputs that add to them.
cp "$seeds"/* "$merged"/
"$target" -merge=1 -timeout=10 -rss_limit_mb=2048 "$merged" "$small"
for seed in "$seeds"/*; do
    rm -f -- "$merged/$(basename -- "$seed")"
done
find "$kept" -type f -delete
cp "$merged"/* "$kept"/
echo "$kept: $(find "$kept" -type f | wc -l) inputs, $(cat "$kept"/* | wc -c) bytes"
