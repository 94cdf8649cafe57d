#!/usr/bin/env bash
# Runs one static analyser over one half of the program and fails on any finding.
#   analyse.sh clang-tidy core|shell COMPILE_DB_DIR
#   analyse.sh cppcheck core|shell
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

case "$tool" in
clang-tidy)
    args=(-p "$3" --quiet)
    if [ "$half" = shell ]; then
        args+=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc)
        mapfile -t includes < <(mingw_includes)
        args+=("${includes[@]}")
    fi
    printf '%s\n' "${files[@]}" | xargs -P 2 -n 4 clang-tidy "${args[@]}"
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
    echo "usage: $0 clang-tidy|cppcheck core|shell [COMPILE_DB_DIR]" >&2
    exit 2
    ;;
esac
