#!/usr/bin/env bash
# run-outputs.sh -- Tav's outputs through tavbatch against peer tools, in one
# run on the corpus's 40 JPEGs of 4000x3000: the catalogue's 48x48 thumbnails
# (cold), conversion to a 320x240 BMP kept in proportion, 1600x1200 thumbnail
# sheets of 5x4, the HTML album with thumbnails, conversion to TIFF Group 4 at
# full size, to JPEG quality 60 at full size, and one picture per page into an
# A4 PDF. Each program runs once over the 40 pictures under GNU time; the
# table gives ms/picture (wall clock), peak resident memory and Tav's time
# over the fastest peer's.
#
#   bench/run-outputs.sh [BUILD_DIR] [CORPUS_DIR]
#
# BUILD_DIR defaults to $BUILD_DIR or <repo>/build-bench (configured as Release
# when new); CORPUS_DIR to $CORPUS or /tmp/corpus (made with the shared corpus
# script, from $SHARED_BENCH or <repo>/../shared/bench, when it does not check
# out). Outputs go below SCRATCH_PARENT
# (default /dev/shm), so other users of the disk do not time our writes.
#
# Peers (one process over all pictures where the tool allows it):
#   vipsthumbnail -s 48x48;  gm mogrify -size 96x96 -thumbnail 48x48
#   gm mogrify -size 640x480 -resize 320x240 -format bmp
#   gm montage -size 640x480 -tile 5x4 -geometry 320x300+0+0
#   vips colourspace b-w, then tiffsave --compression ccittfax4 --bitdepth 1 (per picture)
#   vips jpegsave --Q 60 (per picture)
set -euo pipefail

# shellcheck source=bench/setup.sh
source "$(dirname "$0")/setup.sh"
bench_need_tools cmake gm vips vipsthumbnail pdfinfo python3
bench_tavbatch_run outputs
COUNT=${#PICTURES[@]}
# The pictures through links in one folder, where the catalogue and the HTML
# album are written.
mkdir "$SCRATCH/pictures"
for p in "${PICTURES[@]}"; do ln -s "$p" "$SCRATCH/pictures/"; done
LINKS=("$SCRATCH/pictures"/*.jpg)
cat "${PICTURES[@]}" >/dev/null  # every run reads the pictures from the page cache
: >"$SCRATCH/tav.Ini"

# run KEY COMMAND...: one timed run into a fresh folder $SCRATCH/KEY; figures in KEY.time.
run() {
  local key=$1
  shift
  mkdir -p "$SCRATCH/$key"
  if ! /usr/bin/time -f '%e %M' -o "$SCRATCH/$key.time" "$@" >"$SCRATCH/$key.log" 2>&1; then
    echo "$key failed:" >&2
    cat "$SCRATCH/$key.log" >&2
    exit 1
  fi
}
# tavbatch's options common to every run, the pictures among them.
TAV=(--ini "$SCRATCH/tav.Ini" --yes "${LINKS[@]}")

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)   ($(nproc --all) cores shared with other users)"
run tav_catalogue "$TAVBATCH" catalogue "${TAV[@]}"
run vipsthumbnail vipsthumbnail -s 48x48 -o "$SCRATCH/vipsthumbnail/%s.jpg" "${PICTURES[@]}"
# gm mogrify puts each output at the input's path below its output folder: relative names.
NAMES=("${PICTURES[@]##*/}")
cd "$CORPUS/jpeg"
run gm_thumbnail gm mogrify -output-directory "$SCRATCH/gm_thumbnail" -size 96x96 -thumbnail 48x48 \
  "${NAMES[@]}"

run tav_bmp "$TAVBATCH" convert "${TAV[@]}" --set FILE_HENKAN.bmp=1 --set FILE_HENKAN.size=1 \
  --set FILE_HENKAN.tateYokoHi=1 \
  --set FILE_HENKAN.outW=320 --set FILE_HENKAN.outH=240 --set "FILE_HENKAN.out_path=$SCRATCH/tav_bmp"
run gm_bmp gm mogrify -output-directory "$SCRATCH/gm_bmp" -size 640x480 -resize 320x240 -format bmp \
  "${NAMES[@]}"

# Sheets of 1600 x 1200 (list entries 10 and 8), 5 x 4 pictures (entries 4 and 3), as JPEG.
run tav_sheets "$TAVBATCH" sheets "${TAV[@]}" --set SUM.sizeW=10 --set SUM.sizeH=8 \
  --set SUM.w=4 --set SUM.h=3 --set SUM.type=1 \
  --set "SUM.fname=$SCRATCH/tav_sheets/sheet"
run gm_sheets gm montage -size 640x480 "${PICTURES[@]}" -tile 5x4 -geometry 320x300+0+0 \
  "$SCRATCH/gm_sheets/sheet.jpg"

run tav_html "$TAVBATCH" html "${TAV[@]}" --set HTML.fname=album.htm

run tav_g4 "$TAVBATCH" convert "${TAV[@]}" --set FILE_HENKAN.tif=1 \
  --set FILE_HENKAN.tif_comp=4 \
  --set FILE_HENKAN.tif_coln=1 --set "FILE_HENKAN.out_path=$SCRATCH/tav_g4"
# shellcheck disable=SC2016 # "$f" and "$out" belong to the inner shell
run vips_g4 sh -c 'out=$0; for f; do vips colourspace "$f" "$out/t.v" b-w &&
  vips tiffsave "$out/t.v" "$out/$(basename "$f" .jpg).tif" --compression ccittfax4 --bitdepth 1 ||
  exit 1; done' \
  "$SCRATCH/vips_g4" "${PICTURES[@]}"

run tav_jpeg "$TAVBATCH" convert "${TAV[@]}" --set FILE_HENKAN.jpg=1 \
  --set FILE_HENKAN.jpg_comp=60 \
  --set "FILE_HENKAN.out_path=$SCRATCH/tav_jpeg"
# shellcheck disable=SC2016 # as above
run vips_jpeg sh -c 'out=$0; for f; do vips jpegsave "$f" "$out/$(basename "$f")" --Q 60 || exit 1; done' \
  "$SCRATCH/vips_jpeg" "${PICTURES[@]}"

run tav_pdf "$TAVBATCH" print "${TAV[@]}" --pdf "$SCRATCH/tav_pdf/print.pdf"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

# Every run made what it should.
check() { [ "$1" = "$2" ] || { echo "$3: $1, expected $2" >&2; exit 1; }; }
check "$(find "$SCRATCH/tav_bmp" -name '*.bmp' | wc -l)" "$COUNT" "BMP files"
check "$(find "$SCRATCH/tav_g4" -name '*.tif' | wc -l)" "$COUNT" "TIFF files"
check "$(find "$SCRATCH/tav_jpeg" -name '*.jpg' | wc -l)" "$COUNT" "JPEG files"
check "$(pdfinfo "$SCRATCH/tav_pdf/print.pdf" | awk '/^Pages:/ {print $2}')" "$COUNT" "PDF pages"
[ -s "$SCRATCH/pictures/__tavidx.dat" ] || { echo "no catalogue file" >&2; exit 1; }
[ -s "$SCRATCH/pictures/album.htm" ] || { echo "no HTML album" >&2; exit 1; }
echo

python3 - "$SCRATCH" "$COUNT" <<'PY'
import sys
d, count = sys.argv[1], int(sys.argv[2])

def timed(key):
    wall, rss = open(f"{d}/{key}.time").read().split()
    return float(wall) * 1000 / count, int(rss) / 1024

rows = [
    ("catalogue 48x48 (cold)", "tav_catalogue", ["vipsthumbnail", "gm_thumbnail"], "<= 15"),
    ("BMP 320x240 in proportion", "tav_bmp", ["gm_bmp"], "<= 25"),
    ("sheets 1600x1200, 5x4", "tav_sheets", ["gm_sheets"], "<= 30"),
    ("HTML album with thumbnails", "tav_html", [], "<= 25"),
    ("TIFF Group 4, full size", "tav_g4", ["vips_g4"], "<= 200"),
    ("JPEG quality 60, full size", "tav_jpeg", ["vips_jpeg"], "<= 0.6 x vips"),
    ("A4 PDF, one per page", "tav_pdf", [], "<= 80"),
]
print(f"{'work (%d pictures)' % count:28} {'Tav ms/pic':>10} {'MB':>6}  {'peer':14} {'ms/pic':>7} {'MB':>6}"
      f" {'Tav/peer':>8}  goal")
for title, key, peers, goal in rows:
    ms, mb = timed(key)
    first = f"{title:28} {ms:10.0f} {mb:6.0f}"
    if not peers:
        print(f"{first}  {'-':14} {'':7} {'':6} {'':8}  {goal}")
    for i, peer in enumerate(peers):
        pms, pmb = timed(peer)
        lead = first if i == 0 else " " * len(first)
        print(f"{lead}  {peer:14} {pms:7.0f} {pmb:6.0f} {ms / pms:8.2f}  {goal if i == 0 else ''}")
PY
