#!/usr/bin/env bash
# run-sheets-memory.sh -- whether a batch's memory grows with its length: the
# peak resident memory of one thumbnail-sheet run (tavbatch sheets, 1600x1200
# sheets of 5x4 as JPEG) over SMALL pictures and over LARGE pictures, with the
# ratio of the two. The pictures are links to the corpus's 4000x3000 JPEGs,
# used over and over, so both runs decode the same kind of picture.
#
#   bench/run-sheets-memory.sh [BUILD_DIR] [CORPUS_DIR] [SMALL] [LARGE]
#
# BUILD_DIR defaults to $BUILD_DIR or <repo>/build-bench (configured as Release
# when new); CORPUS_DIR to $CORPUS or /tmp/corpus (made with the shared corpus
# script when it does not check out); SMALL and LARGE default to 20 and 2000.
# Outputs go below SCRATCH_PARENT (default /dev/shm). The goal: the large run
# peaks within 10 % of the small one.
set -euo pipefail

# shellcheck source=bench/setup.sh
source "$(dirname "$0")/setup.sh"
SMALL=${3:-20}
LARGE=${4:-2000}
bench_need_tools cmake python3
bench_tavbatch_run sheets-memory
cat "${PICTURES[@]}" >/dev/null  # every run reads the pictures from the page cache
: >"$SCRATCH/tav.Ini"

# links COUNT: a folder of COUNT links to the corpus's pictures, in turn.
links() {
  local dir=$SCRATCH/pictures-$1 i
  mkdir "$dir"
  for ((i = 0; i < $1; i++)); do
    ln -s "${PICTURES[i % ${#PICTURES[@]}]}" "$(printf '%s/p%05d.jpg' "$dir" "$i")"
  done
}

# peak COUNT: one sheet run over COUNT pictures; prints "peak-KiB seconds".
peak() {
  links "$1"
  mkdir "$SCRATCH/sheets-$1"
  /usr/bin/time -f '%M %e' -o "$SCRATCH/$1.time" "$TAVBATCH" sheets --ini "$SCRATCH/tav.Ini" --yes \
    --set SUM.sizeW=10 --set SUM.sizeH=8 --set SUM.w=4 --set SUM.h=3 --set SUM.type=1 \
    --set "SUM.fname=$SCRATCH/sheets-$1/sheet" "$SCRATCH/pictures-$1"/*.jpg >"$SCRATCH/$1.log" 2>&1 ||
    { echo "the run over $1 pictures failed:" >&2; cat "$SCRATCH/$1.log" >&2; exit 1; }
  rm -rf "$SCRATCH/sheets-$1"  # the sheets themselves take room in memory
  cat "$SCRATCH/$1.time"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
read -r small_kib small_s < <(peak "$SMALL")
read -r large_kib large_s < <(peak "$LARGE")
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$SMALL" "$small_kib" "$small_s" "$LARGE" "$large_kib" "$large_s" <<'PY'
import sys
small, small_kib, small_s, large, large_kib, large_s = sys.argv[1:]
print(f"sheets over {small:>5} pictures: peak {int(small_kib) / 1024:7.1f} MB  ({float(small_s):6.1f} s)")
print(f"sheets over {large:>5} pictures: peak {int(large_kib) / 1024:7.1f} MB  ({float(large_s):6.1f} s)")
ratio = int(large_kib) / int(small_kib)
print(f"ratio {ratio:.3f} (goal <= 1.10): {'met' if ratio <= 1.10 else 'missed'}")
PY
