#!/usr/bin/env bash
# Checks the names in the project's C++ sources against the rules in the root
# .clang-tidy, using the compile commands of a configured build folder.
#   tools/tidy.sh [-p BUILD] [FILE.cpp...]     (default: build, every tracked .cpp)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
if [ "${1:-}" = "-p" ]; then
    build=$2
    shift 2
fi
[ -f "$build/compile_commands.json" ] || { echo "tidy: configure $build first (cmake -S . -B $build)" >&2; exit 2; }
if (($#)); then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' | grep -v '/fuzz/')
fi
printf '%s\0' "${files[@]}" | xargs -0 -n 8 -P "${JOBS:-2}" clang-tidy -p "$build" --quiet
