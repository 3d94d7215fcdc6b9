#!/usr/bin/env bash
# Checks the C++ files tracked by git against the project's .clang-format
# (clang-format 14) and names every file that differs; fails if any does.
# Without arguments it checks the whole tree; given folders or files, only
# those.
#
#   scripts/check-format.sh [PATH...]
#   clang-format-14 -i FILE        # formats one in place
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=clang-format-14
command -v "$formatter" >/dev/null || { echo "check-format.sh: $formatter is missing" >&2; exit 2; }
mapfile -t files < <(git ls-files -- "${@:-.}" | grep -E '\.(cpp|h)$')
[ ${#files[@]} -gt 0 ] || { echo "check-format.sh: no C++ files in ${*:-.}" >&2; exit 2; }
# One run over all files; each finding names its file first.
status=0
findings=$("$formatter" --dry-run --Werror "${files[@]}" 2>&1) || status=$?
mapfile -t unformatted < <(printf '%s\n' "$findings" |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ $status -ne 0 ] && [ ${#unformatted[@]} -eq 0 ]; then
    printf '%s\n' "$findings" >&2
    exit 2
fi
if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}" >&2
    echo "${#unformatted[@]} of ${#files[@]} files differ from .clang-format" >&2
    exit 1
fi
echo "${#files[@]} files formatted"
