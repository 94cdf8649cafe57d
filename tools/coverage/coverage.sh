#!/usr/bin/env bash
# make coverage: builds the core with its unit tests and both Windows programs with gcov's
# counters (presets coverage, coverage-win64, coverage-win32), runs the unit tests and both
# end-to-end tiers, and writes one report of the program's folders into build/coverage:
# index.html, summary.txt with the lines and branches per folder and per file, and unrun.txt with
# each line no test runs and its function.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
report=build/coverage

for preset in coverage coverage-win64 coverage-win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
# Counts from an earlier run would add to this one's.
find build/coverage-native build/coverage-win64 build/coverage-win32 -name '*.gcda' -delete

# A failing test still leaves the counts of what ran: the report is written, and the failure
# is the command's result.
status=0
ctest --preset coverage -j2 -L '^unit$' || status=$?
# A Windows program writes its counts to the Unix path of its objects; Wine reaches that path
# through drive Z:, whatever the program's current drive. Each exiting program adds its counts
# to the same files, so the files run one at a time: two programs merging at once could lose
# counts.
GCOV_PREFIX=Z: ctest --preset coverage -j1 -L '^e2e' || status=$?

# The program's folders are those with a DEPS file. Exception edges (a call that may throw) are
# counted apart: they are branches of the compiler's making, not of the program's.
filters=()
for deps in */DEPS; do
    filters+=(--filter "$root/$(dirname "$deps")/")
done
rm -rf "$report"
mkdir -p "$report"
gcov_runs=(
    "build/coverage-native gcov"
    "build/coverage-win64 x86_64-w64-mingw32-gcov-posix"
    "build/coverage-win32 i686-w64-mingw32-gcov-posix"
)
# One set of counts per target (CMakeFiles/<target>.dir) that a test ran, so that a line one
# target did not run stays apart from the same line another did. gcovr finds the lines;
# branches.py takes each line's branches from gcov's JSON output, which marks every exception
# edge, and leaves those edges out.
tracefiles=()
runs=()
for run in "${gcov_runs[@]}"; do
    read -r tree gcov <<<"$run"
    while read -r objects; do
        json="$report/$(basename "$tree")-$(basename "$objects" .dir).json"
        gcovr --root "$root" "${filters[@]}" --object-directory "$objects" \
            --gcov-executable "$gcov" --json "$json" "$objects"
        tracefiles+=("$json")
        runs+=("$json $objects $gcov")
    done < <(find "$tree" -name '*.gcda' | grep -o '^.*/CMakeFiles/[^/]*\.dir' | sort -u)
done
printf '%s\n' "${runs[@]}" | tools/python3 tools/coverage/branches.py
tracefiles=("${tracefiles[@]/#/--add-tracefile=}")
gcovr --root "$root" "${tracefiles[@]}" --html-details "$report/index.html" \
    --json-summary "$report/summary.json" --json "$report/lines.json"
tools/python3 tools/coverage/summary.py "$report/summary.json" >"$report/summary.txt"
tools/python3 tools/coverage/unrun.py "$report/lines.json" >"$report/unrun.txt"
cat "$report/summary.txt"
echo "The lines no test runs, with their functions: $report/unrun.txt"
exit "$status"
