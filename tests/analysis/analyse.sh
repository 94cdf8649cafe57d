#!/usr/bin/env bash
# Runs one static analyser over one half of the program and fails on any finding.
#   analyse.sh clang-tidy core|shell COMPILE_DB_DIR CLEAN_DIR
#   analyse.sh cppcheck core|shell
# clang-tidy takes minutes over the shell, so a file that came out clean is not analysed again
# until something its findings depend on changes (clean_keys); CLEAN_DIR keeps the keys.
# The shell is analysed as mingw-w64 compiles it: clang-tidy parses it for the Windows target
# with the cross compiler's C++ library and Windows headers.
set -euo pipefail
tool=$1 half=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

# The program's folders are those with a DEPS file.
shopt -s nullglob
files=()
for deps in */DEPS; do
    for file in "$(dirname "$deps")"/*.cpp; do
        if [[ $file == *_win.cpp ]]; then
            [ "$half" = shell ] && files+=("$file")
        else
            [ "$half" = core ] && files+=("$file")
        fi
    done
done

# The cross compiler's own search path, less its compiler-specific headers, which clang
# replaces with its own.
mingw_includes() {
    local compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
    echo | "$compiler" -xc++ -E -v - 2>&1 |
        sed -n '/#include <...> search starts here/,/End of search list/p' | sed '1d;$d' |
        grep -vE '/lib/gcc/[^/]+/[^/]+/include(-fixed)?$' | while read -r dir; do
        echo "--extra-arg=-isystem$(realpath "$dir")"
    done
    echo "--extra-arg=-isystem$(clang++ -print-resource-dir)/include"
}

# One key per file for what clang-tidy's findings on it depend on: the tools' versions, the
# checks, the file's compile command, the program's headers and the file itself. Shell files
# also depend on the cross compiler's headers, which come and go with its version.
clean_keys() {
    local db=$1
    shift
    {
        clang-tidy --version
        [ "$half" = shell ] && "${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}" --version
        cat .clang-tidy
    } | tools/python3 -c '
import hashlib, json, pathlib, sys
db, files = sys.argv[1], sys.argv[2:]
common = hashlib.sha256(sys.stdin.buffer.read())
for header in sorted(pathlib.Path(".").glob("*/*.h")):
    if (header.parent / "DEPS").exists():
        common.update(header.as_posix().encode() + b"\0" + header.read_bytes())
commands = {pathlib.Path(e["file"]).resolve(): e.get("command") or " ".join(e["arguments"])
            for e in json.loads(pathlib.Path(db, "compile_commands.json").read_text())}
for name in files:
    key = common.copy()
    key.update(commands.get(pathlib.Path(name).resolve(), "").encode() + b"\0")
    key.update(pathlib.Path(name).read_bytes())
    print(key.hexdigest())
' "$db" "$@"
}

# Runs clang-tidy over each file whose key is not in CLEAN_DIR, two at a time, and records the
# key of each that comes out clean; keys of older versions go.
tidy_unless_clean() {
    local clean=$1 failed=0 running=0 i
    shift
    mkdir -p "$clean"
    mapfile -t keys < <(clean_keys "$db_dir" "${files[@]}")
    for i in "${!files[@]}"; do
        [ -e "$clean/${keys[$i]}" ] && continue
        if [ "$running" -ge 2 ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        { clang-tidy "$@" "${files[$i]}" && touch "$clean/${keys[$i]}"; } &
        running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    find "$clean" -type f $(printf -- '-not -name %s ' "${keys[@]}") -delete
    return "$failed"
}

case "$tool" in
clang-tidy)
    db_dir=$3
    args=(-p "$db_dir" --quiet)
    if [ "$half" = shell ]; then
        args+=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc)
        mapfile -t includes < <(mingw_includes)
        args+=("${includes[@]}")
    fi
    tidy_unless_clean "$4" "${args[@]}"
    ;;
cppcheck)
    args=(-I . --language=c++ --std=c++20 --enable=warning,performance,portability,style
          --inline-suppr --error-exitcode=1 --quiet --suppress=missingIncludeSystem
          --suppressions-list=tests/analysis/cppcheck-suppressions.txt)
    if [ "$half" = shell ]; then
        args+=(--platform=win64 --library=windows -D_WIN32 -D_WIN64)
    fi
    cppcheck "${args[@]}" "${files[@]}"
    ;;
*)
    echo "usage: $0 clang-tidy core|shell COMPILE_DB_DIR CLEAN_DIR | cppcheck core|shell" >&2
    exit 2
    ;;
esac
