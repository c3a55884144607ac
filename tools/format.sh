#!/usr/bin/env bash
# Formats the project's C++ sources with the root .clang-format.
#   tools/format.sh           rewrites every tracked .cpp and .h in place
#   tools/format.sh --check   changes nothing; lists the files that differ and fails when any does
#   tools/format.sh FILE...   formats just those files
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
if (($#)); then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi

if ((check)); then
    status=0
    for f in "${files[@]}"; do
        clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1 || { echo "$f"; status=1; }
    done
    exit $status
fi
printf '%s\0' "${files[@]}" | xargs -0 -n 50 clang-format --style=file -i
