#!/usr/bin/env bash
# run-print-pdf.sh -- one picture per page into a PDF file through Tav's print
# path (tavbatch print: the one-picture-per-page command, the shared print loop,
# the page engine, Qt's PDF printer; no margins, pictures not turned) against `gm convert` of the same pictures into
# one PDF, in one run.
#
#   bench/run-print-pdf.sh [BUILD_DIR] [CORPUS_DIR]
#
# BUILD_DIR defaults to $BUILD_DIR or <repo>/build-bench (configured as Release
# when new); CORPUS_DIR to $CORPUS or /tmp/corpus (made with the shared corpus
# script when it does not check out). SCRATCH_PARENT (default /dev/shm) holds
# the pictures' links and the PDF files, so the other users of the disk do not
# time our writes.
#
# Pictures: the corpus's 40 JPEGs of 4000x3000 taken in turn as 100 (and as
# the first 10 of those), through links with distinct names. Each program runs
# once per count under GNU time: wall-clock and CPU seconds, peak resident
# memory. Tav prints A4 at 300 dpi without margins, each picture fitted to the
# page; it holds one picture at a time, so its peak memory for 100 pictures
# must match the one for 10 (within 10 %), and every page's image must be no
# larger than the picture's printed size at the device resolution (from
# `pdfimages -list`). The script fails when either check does not hold.
#
# Peer: gm reads every picture at full size into its list before it resizes
# any or writes the PDF (some 96 MB per 12-megapixel picture at its 16-bit
# depth), so its memory grows with the count; the 100-picture run is left out,
# and said so, when the machine lacks the memory. "gm" is the matched command:
#   gm convert -page A4 -resize HORZxVERT -compress JPEG -quality Q
#              -sampling-factor S PICTURES OUT
# -resize to Tav's printable area in device pixels gives each page the same
# image size as Tav's (300 ppi across the page width); Q and S are the JPEG
# quality and chroma sampling read from Tav's first page image (gm would use
# full-resolution chroma at that quality), so sizes per page compare like with
# like; gm keeps its default resizing filter. -page A4 makes gm fit the
# picture to the A4 width; gm then trims the page's height to the picture,
# where Tav's page is the whole A4 sheet.
# Both programs run with their default threads (gm's resizing and Qt's smooth
# scaling use both cores). "gm full" is the command a user would type,
# `gm convert -page A4 PICTURES OUT`, which embeds the whole 12-megapixel
# picture; it runs on 10 pictures only. "djpeg" decodes the 10 pictures and
# discards them: the floor that reading the pictures alone sets. "kernel" is
# the system part of the CPU time (for Tav mostly mapping and zeroing fresh
# memory for each picture's buffers).
set -euo pipefail

# shellcheck source=bench/setup.sh
source "$(dirname "$0")/setup.sh"
bench_need_tools cmake gm pdfimages pdfinfo djpeg python3
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (Debian package: time)" >&2; exit 2; }
bench_prepare tavbatch

SCRATCH=$(mktemp -d "${SCRATCH_PARENT:-/dev/shm}/print-pdf.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT
mapfile -t SOURCES < <(find "$CORPUS/jpeg" -maxdepth 1 -name '*.jpg' | LC_ALL=C sort)
[ ${#SOURCES[@]} -gt 0 ] || { echo "no JPEGs in $CORPUS/jpeg" >&2; exit 2; }
PICTURES=()
mkdir "$SCRATCH/pictures"
for i in $(seq 0 99); do
  link=$(printf '%s/pictures/pic%03d.jpg' "$SCRATCH" "$i")
  ln -s "${SOURCES[i % ${#SOURCES[@]}]}" "$link"
  PICTURES+=("$link")
done
cat "${SOURCES[@]}" >/dev/null  # every run reads the pictures from the page cache
: >"$SCRATCH/tav.Ini"
TAV_PRINT=("$BUILD_DIR/bin/tavbatch" print --ini "$SCRATCH/tav.Ini" --set P1.yohakuNasi=1 --set P1.tateYoko=0 --caps)
gm identify -ping -format '%w %h\n' "${PICTURES[@]}" >"$SCRATCH/sizes.txt"

# run KEY COMMAND...: one timed run; figures in KEY.time, output in KEY.log.
run() {
  local key=$1
  shift
  cut -d' ' -f1 /proc/loadavg >"$SCRATCH/$key.load"
  if ! /usr/bin/time -f '%e %U %S %M' -o "$SCRATCH/$key.time" "$@" >"$SCRATCH/$key.log" 2>&1; then
    echo "$key failed:" >&2
    cat "$SCRATCH/$key.log" >&2
    exit 1
  fi
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)   ($(nproc --all) cores shared with other users)"
run tav10 "${TAV_PRINT[@]}" --pdf "$SCRATCH/tav10.pdf" "${PICTURES[@]:0:10}"
run tav100 "${TAV_PRINT[@]}" --pdf "$SCRATCH/tav100.pdf" "${PICTURES[@]}"

read -r _ DPI HORZ VERT _ < <(grep '^caps ' "$SCRATCH/tav10.log")
pdfimages -j -f 1 -l 1 "$SCRATCH/tav10.pdf" "$SCRATCH/first"
QUALITY=$(gm identify -format '%Q' "$SCRATCH"/first-000.*)
SAMPLING=$(gm identify -format '%[JPEG-Sampling-factors]' "$SCRATCH"/first-000.* | cut -d, -f1)
GM=(gm convert -page A4 -resize "${HORZ}x${VERT}" -compress JPEG -quality "$QUALITY" -sampling-factor "$SAMPLING")
run gm10 "${GM[@]}" "${PICTURES[@]:0:10}" "$SCRATCH/gm10.pdf"
# gm's list for 100 pictures, plus a margin of 2 GB for the other users.
need_kb=$(awk '{kb += $1 * $2 * 8 / 1024} END {printf "%d", kb + 2 * 1024 * 1024}' "$SCRATCH/sizes.txt")
free_kb=$(awk '/^MemAvailable:/ {print $2}' /proc/meminfo)
if [ "$free_kb" -ge "$need_kb" ]; then
  run gm100 "${GM[@]}" "${PICTURES[@]}" "$SCRATCH/gm100.pdf"
else
  echo "gm on 100 pictures left out: it needs about $((need_kb >> 20)) GB, $((free_kb >> 20)) GB available"
fi
run gmfull10 gm convert -page A4 "${PICTURES[@]:0:10}" "$SCRATCH/gmfull10.pdf"
# shellcheck disable=SC2016 # "$f" belongs to the inner shell
run djpeg10 sh -c 'for f; do djpeg -outfile /dev/null "$f" || exit 1; done' djpeg "${PICTURES[@]:0:10}"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "device: ${HORZ}x${VERT} pixels at $DPI dpi; gm: ${GM[*]:2}"
echo

for key in tav10 tav100 gm10 gm100 gmfull10; do
  [ -f "$SCRATCH/$key.pdf" ] || continue
  pdfinfo "$SCRATCH/$key.pdf" | awk '/^Pages:/ {print $2}' >"$SCRATCH/$key.pages"
  pdfimages -list "$SCRATCH/$key.pdf" | tail -n +3 >"$SCRATCH/$key.images"
done

python3 - "$SCRATCH" "$DPI" "$HORZ" "$VERT" <<'PY'
import os, sys
d, dpi, horz, vert = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
sources = [tuple(map(int, line.split())) for line in open(f"{d}/sizes.txt")]
failures = []

def timed(key):
    """Wall seconds, CPU seconds, kernel seconds, peak RSS in MB and the load when the run started."""
    wall, user, system, rss = open(f"{d}/{key}.time").read().split()
    load = open(f"{d}/{key}.load").read().strip()
    return float(wall), float(user) + float(system), float(system), int(rss) / 1024, load

def images(key):
    """(page, width, height, x-ppi, y-ppi) of every image in the PDF."""
    rows = [line.split() for line in open(f"{d}/{key}.images") if line.strip()]
    return [(int(r[0]), int(r[3]), int(r[4]), int(r[12]), int(r[13])) for r in rows]

def fitted(w, h):
    """The picture's printed size in device pixels: fitted to the printable area."""
    scale = min(horz / w, vert / h)
    return round(w * scale), round(h * scale)

def check_tav(key, count):
    pages = int(open(f"{d}/{key}.pages").read())
    if pages != count:
        failures.append(f"{key}: {pages} pages for {count} pictures")
    found = images(key)
    per_page = {}
    for page, w, h, xppi, yppi in found:
        per_page[page] = per_page.get(page, 0) + 1
        fw, fh = fitted(*sources[page - 1])
        if w > fw + 1 or h > fh + 1 or xppi > dpi + 1 or yppi > dpi + 1:
            failures.append(f"{key} page {page}: image {w}x{h} at {xppi}x{yppi} ppi, printed size {fw}x{fh}")
    if sorted(per_page) != list(range(1, count + 1)) or set(per_page.values()) != {1}:
        failures.append(f"{key}: not one image on each of the {count} pages")
    return found

def describe(found):
    sizes = sorted({f"{w}x{h} @ {x} ppi" for _, w, h, x, _ in found})
    return ", ".join(sizes)

rows = {}
for key, label, count in [("tav10", "Tav", 10), ("tav100", "Tav", 100), ("gm10", "gm", 10),
                          ("gm100", "gm", 100), ("gmfull10", "gm full", 10)]:
    if not os.path.exists(f"{d}/{key}.time"):
        continue
    wall, cpu, kernel, rss, load = timed(key)
    size = os.path.getsize(f"{d}/{key}.pdf")
    found = check_tav(key, count) if key.startswith("tav") else images(key)
    rows[key] = dict(label=label, count=count, wall=wall, spp=wall / count, cpu=cpu / count, kernel=kernel / count,
                     rss=rss, mbpp=size / count / 1e6, image=describe(found), load=load)
dj_wall, dj_cpu, dj_kernel, _, dj_load = timed("djpeg10")

print("| program | pictures | wall s | s / page | CPU s / page (kernel) | peak RSS MB | PDF MB / page "
      "| image per page | load at start |")
print("|---|---|---|---|---|---|---|---|---|")
for r in rows.values():
    print(f"| {r['label']} | {r['count']} | {r['wall']:.1f} | {r['spp']:.3f} | {r['cpu']:.3f} ({r['kernel']:.3f}) "
          f"| {r['rss']:.0f} | {r['mbpp']:.2f} | {r['image']} | {r['load']} |")
print(f"| djpeg (decode only) | 10 | {dj_wall:.1f} | {dj_wall / 10:.3f} | {dj_cpu / 10:.3f} ({dj_kernel / 10:.3f}) "
      f"| - | - | - | {dj_load} |")
print()

def ratio(count, field):
    tav, gm = rows.get(f"tav{count}"), rows.get(f"gm{count}")
    return f"{tav[field] / gm[field]:.2f}" if tav and gm else "-"

print("| ratio Tav / gm | 10 pictures | 100 pictures |")
print("|---|---|---|")
for field, label in [("spp", "s / page"), ("cpu", "CPU s / page"), ("rss", "peak RSS"), ("mbpp", "PDF size / page")]:
    print(f"| {label} | {ratio(10, field)} | {ratio(100, field)} |")
print()
growth = rows["tav100"]["rss"] / rows["tav10"]["rss"]
gm_growth = f"{rows['gm100']['rss'] / rows['gm10']['rss']:.2f}" if "gm100" in rows else "-"
print(f"Tav peak memory, 100 / 10 pictures: {growth:.2f} (gm: {gm_growth})")
if growth > 1.10:
    failures.append(f"Tav's peak memory grows with the count: {rows['tav10']['rss']:.0f} MB for 10, "
                    f"{rows['tav100']['rss']:.0f} MB for 100")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
PY
