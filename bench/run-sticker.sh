#!/usr/bin/env bash
# run-sticker.sh -- one sticker sheet ("ﾌﾟﾘｸﾗ印刷") of 10 mm frames from a
# 12-megapixel photograph into a PDF file through Tav's print path (tavbatch
# sticker: the sticker command, the page engine, Qt's PDF printer at 300
# dpi without margins: 21 x 39 frames on A4) against GraphicsMagick making the
# same sheet, in one run.
#
#   bench/run-sticker.sh [BUILD_DIR] [CORPUS_DIR] [RUNS]
#
# BUILD_DIR defaults to $BUILD_DIR or <repo>/build-bench (configured as Release
# when new); CORPUS_DIR to $CORPUS or /tmp/corpus (made with the shared corpus
# script when it does not check out); RUNS (default 5) timed runs of each.
# SHARED_BENCH names the shared corpus scripts' folder when it is not
# <repo>/../shared/bench.
#
# Peer "gm": reads the photograph, resamples it once to the frame (118 x 89
# pixels) and tiles the 21 x 39 frames into an A4 page of a PDF file:
#   gm convert PHOTO -resize 118x89! FRAME.ppm
#   gm convert -size 2478x3471 tile:FRAME.ppm -page A4 OUT.pdf
# "djpeg" decodes the photograph and discards it: the floor that reading it sets.
# Figures: median wall-clock seconds, and Tav's ratio to each peer.
set -euo pipefail

# shellcheck source=bench/setup.sh
source "$(dirname "$0")/setup.sh"
RUNS=${3:-5}
bench_need_tools cmake gm djpeg pdfinfo python3
bench_prepare tavbatch

PHOTO=$(find "$CORPUS/jpeg" -maxdepth 1 -name '*.jpg' | LC_ALL=C sort | head -n 1)
[ -n "$PHOTO" ] || { echo "no JPEGs in $CORPUS/jpeg" >&2; exit 2; }
SCRATCH=$(mktemp -d "${SCRATCH_PARENT:-/dev/shm}/sticker.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT
cat "$PHOTO" >/dev/null  # every run reads the photograph from the page cache
: >"$SCRATCH/tav.Ini"

# median KEY COMMAND...: RUNS timed runs; prints the median wall-clock seconds.
median() {
  local key=$1 times=()
  shift
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s.%N)
    "$@" >"$SCRATCH/$key.log" 2>&1 || { echo "$key failed:" >&2; cat "$SCRATCH/$key.log" >&2; exit 1; }
    end=$(date +%s.%N)
    times+=("$(python3 -c "print($end - $start)")")
  done
  printf '%s\n' "${times[@]}" | LC_ALL=C sort -g | sed -n "$(((RUNS + 1) / 2))p"
}

tav=$(median tav "$BUILD_DIR/bin/tavbatch" sticker --ini "$SCRATCH/tav.Ini" --set PURIKURA.komaHaba=10 \
  --pdf "$SCRATCH/tav.pdf" "$PHOTO")
pages=$(pdfinfo "$SCRATCH/tav.pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 1 ] || { echo "Tav's sheet has $pages pages, expected 1" >&2; exit 1; }
gm=$(median gm sh -c "gm convert '$PHOTO' -resize 118x89! '$SCRATCH/frame.ppm' &&
                      gm convert -size 2478x3471 tile:'$SCRATCH/frame.ppm' -page A4 '$SCRATCH/gm.pdf'")
djpeg=$(median djpeg sh -c "djpeg '$PHOTO' >/dev/null")

python3 - "$tav" "$gm" "$djpeg" "$(basename "$PHOTO")" <<'PY'
import sys
tav, gm, djpeg = (float(v) for v in sys.argv[1:4])
print(f"sticker sheet, 10 mm frames (21 x 39) on A4 from {sys.argv[4]} (4000x3000), median of the runs")
print(f"  Tav    {tav:7.3f} s")
print(f"  gm     {gm:7.3f} s   Tav / gm    {tav / gm:5.2f}")
print(f"  djpeg  {djpeg:7.3f} s   Tav / djpeg {tav / djpeg:5.2f}")
PY
