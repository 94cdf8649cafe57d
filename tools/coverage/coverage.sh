#!/usr/bin/env bash
# make coverage: builds the core with its unit tests and both Windows programs with gcov's
# counters (presets coverage, coverage-win64, coverage-win32), runs the unit tests and both
# end-to-end tiers, and writes one report of the program's folders into build/coverage:
# index.html, and summary.txt with the lines and branches per folder and per file.
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
# through drive Z:, whatever the program's current drive.
GCOV_PREFIX=Z: ctest --preset coverage -L '^e2e' || status=$?

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
tracefiles=()
for run in "${gcov_runs[@]}"; do
    read -r tree gcov <<<"$run"
    # The objects of a program that no test of this tree ran (the 32-bit faulty build) hold no
    # counts; gcov then cannot tell their exception edges from branches. Their lines are counted
    # through the objects of the programs that ran.
    unrun=()
    while read -r folder; do
        unrun+=(--exclude-directories "^$folder\$")
    done < <(find "$tree" -name '*.gcno' -printf '%h\n' | sort -u | while read -r folder; do
        compgen -G "$folder/*.gcda" >/dev/null || echo "$folder"
    done)
    json="$report/$(basename "$tree").json"
    gcovr --root "$root" "${filters[@]}" "${unrun[@]}" --object-directory "$tree" \
        --gcov-executable "$gcov" --exclude-throw-branches --json "$json" "$tree"
    tracefiles+=(--add-tracefile "$json")
done
gcovr --root "$root" "${tracefiles[@]}" --html-details "$report/index.html" \
    --json-summary "$report/summary.json"
/usr/bin/python3 tools/coverage/summary.py "$report/summary.json" >"$report/summary.txt"
cat "$report/summary.txt"
exit "$status"
