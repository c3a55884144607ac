#!/usr/bin/env bash
# load-image.sh -- LoadImageFile of a 12-megapixel JPEG against
# `gm convert FILE bmp:-` for the same file, in one run.
#
#   bench/load-image.sh [REPETITIONS] [FILE...]
#
# Environment: BUILD_DIR (default <repo>/build-bench; reused when already
# configured), CORPUS (default /tmp/corpus; made with the shared corpus script
# when missing). FILE defaults to the corpus's p00.jpg and p17.jpg (4000x3000)
# and a GIF made from p00.jpg (4000x3000, 256 colours), which only GV reads.
#
# LoadImageFile: Google Benchmark, wall-clock median of REPETITIONS (default
# 10). gm: hyperfine median of the whole command line, its BMP output
# discarded (process start and BMP writing included, as a user of gm pays
# them). djpeg (JPEG files only): hyperfine median of decoding to a PPM stream
# discarded, i.e. the decoder alone (its BMP writer buffers the whole picture
# and takes twice as long). The ratios are LoadImageFile's median over djpeg's
# (the goal is at most 1.1) and gm's over LoadImageFile's.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
REPS=${1:-10}
shift || true
BUILD_DIR=${BUILD_DIR:-$REPO/build-bench}
CORPUS=${CORPUS:-/tmp/corpus}

for tool in cmake gm djpeg hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done
if [ ! -d "$CORPUS/jpeg" ]; then
  /work/shared/bench/make_corpus.sh "$CORPUS"
fi
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
FILES=("$@")
if [ ${#FILES[@]} -eq 0 ]; then
  gm convert "$CORPUS/jpeg/p00.jpg" "$OUT/p00.gif"
  FILES=("$CORPUS/jpeg/p00.jpg" "$CORPUS/jpeg/p17.jpg" "$OUT/p00.gif")
fi

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$REPO" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" -j2 --target load_image_bench gv >/dev/null

GV_PROGRAM="$BUILD_DIR/bin/gv" "$BUILD_DIR/bin/load_image_bench" "${FILES[@]}" --benchmark_repetitions="$REPS" \
  --benchmark_report_aggregates_only=true --benchmark_format=json >"$OUT/tav.json"
i=0
for f in "${FILES[@]}"; do
  hyperfine -N --warmup 2 --runs "$REPS" --export-json "$OUT/gm$i.json" \
    "gm convert $f bmp:-" >/dev/null
  case "$f" in
    *.jpg|*.jpeg|*.JPG|*.JPEG)
      hyperfine -N --warmup 2 --runs "$REPS" --export-json "$OUT/dj$i.json" \
        "djpeg -outfile /dev/null $f" >/dev/null ;;
  esac
  i=$((i + 1))
done

python3 - "$OUT" "${FILES[@]}" <<'PY'
import json, os, sys
out, files = sys.argv[1], sys.argv[2:]
tav = {}
for b in json.load(open(os.path.join(out, "tav.json")))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        tav[b["run_name"].split("/")[1]] = b["real_time"]
def median_ms(name):
    path = os.path.join(out, name)
    if not os.path.exists(path):
        return None
    return json.load(open(path))["results"][0]["median"] * 1000
print(f"{'file':<12}{'LoadImageFile ms':>18}{'djpeg ms':>14}{'Tav/djpeg':>11}"
      f"{'gm convert bmp ms':>20}{'gm/Tav':>8}")
for i, f in enumerate(files):
    name = os.path.basename(f)
    gm, dj = median_ms(f"gm{i}.json"), median_ms(f"dj{i}.json")
    dj_cols = f"{dj:>14.1f}{tav[name] / dj:>11.2f}" if dj else f"{'-':>14}{'-':>11}"
    print(f"{name:<12}{tav[name]:>18.1f}{dj_cols}{gm:>20.1f}{gm / tav[name]:>8.2f}")
PY
