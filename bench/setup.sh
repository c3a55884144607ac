# shellcheck shell=bash
# Sourced by the benchmark scripts: the repository, the build folder and the
# corpus from the first two arguments, and the steps every script takes first.
#
# BUILD_DIR defaults to $BUILD_DIR or <repo>/build-bench (configured as Release
# when new); CORPUS to $CORPUS or /tmp/corpus (made with the shared corpus
# script when it does not check out); SHARED_BENCH names the shared corpus
# scripts' folder when it is not <repo>/../shared/bench.
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${1:-${BUILD_DIR:-$REPO/build-bench}}
CORPUS=${2:-${CORPUS:-/tmp/corpus}}
SHARED_BENCH=${SHARED_BENCH:-$REPO/../shared/bench}

# Stops with status 2 naming the first of the given tools that is missing.
bench_need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
  done
}

# Makes the corpus when it does not check out, then builds the given targets.
bench_prepare() {
  if ! "$SHARED_BENCH/check_corpus.sh" "$CORPUS" >/dev/null 2>&1; then
    "$SHARED_BENCH/make_corpus.sh" "$CORPUS"
  fi
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$REPO" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$BUILD_DIR" -j2 --target "$@" >/dev/null
}

# The steps of a script that times tavbatch over the corpus's JPEGs: checks GNU
# time, builds tavbatch, and sets TAVBATCH, a scratch folder SCRATCH (named
# after $1, removed on exit) and the sorted list PICTURES.
bench_tavbatch_run() {
  [ -x /usr/bin/time ] || { echo "missing /usr/bin/time (Debian package: time)" >&2; exit 2; }
  bench_prepare tavbatch
  TAVBATCH=$(cd "$BUILD_DIR" && pwd)/bin/tavbatch
  SCRATCH=$(mktemp -d "${SCRATCH_PARENT:-/dev/shm}/$1.XXXXXX")
  trap 'rm -rf "$SCRATCH"' EXIT
  mapfile -t PICTURES < <(find "$CORPUS/jpeg" -maxdepth 1 -name '*.jpg' | LC_ALL=C sort)
  [ "${#PICTURES[@]}" -gt 0 ] || { echo "no JPEGs in $CORPUS/jpeg" >&2; exit 2; }
}
