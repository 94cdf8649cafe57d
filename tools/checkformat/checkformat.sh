#!/usr/bin/env bash
# Holds every C++ file of the repository to the root's .clang-format, with one pinned
# clang-format: another major version lays the same code out differently.
#   checkformat.sh CLANG_FORMAT ROOT          fails, naming each place that differs
#   checkformat.sh CLANG_FORMAT ROOT --fix    rewrites those files in place
# The files are those git tracks or would track, so build trees and ignored files stay out.
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ] || { [ $# -eq 3 ] && [ "$3" != --fix ]; }; then
    echo "usage: $0 CLANG_FORMAT ROOT [--fix]" >&2
    exit 2
fi
clang_format=$1 root=$2
cd "$root"
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
    echo "no C++ files found under $root" >&2
    exit 2
fi
if [ "${3:-}" = --fix ]; then
    exec "$clang_format" -i --style=file "${files[@]}"
fi
if ! "$clang_format" --dry-run --Werror --style=file "${files[@]}"; then
    echo "Some C++ differs from .clang-format; make format rewrites it." >&2
    exit 1
fi
echo "${#files[@]} C++ files follow .clang-format"
