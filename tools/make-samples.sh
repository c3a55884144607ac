#!/usr/bin/env bash
# make-samples.sh OUTDIR: a folder of sample pictures, so that a first start
# of Tav shows pictures at once. Photographs from Debian's mate-backgrounds,
# scaled down, in the formats Tav reads; drawn pictures when those are absent.
set -euo pipefail
out=${1:?usage: make-samples.sh OUTDIR}
[ -f "$out/.complete" ] && exit 0
mkdir -p "$out"
src=/usr/share/backgrounds/mate/nature
mapfile -t photos < <(ls "$src"/*.jpg 2>/dev/null | LC_ALL=C sort | head -n 9)
formats=(jpg jpg jpg jpg bmp png tif jpg gif)
i=0
if ((${#photos[@]})); then
  for p in "${photos[@]}"; do
    name=$(basename "$p" .jpg)
    gm convert "$p" -resize 1024x1024 -quality 88 "$out/$name.${formats[$i]}"
    i=$((i + 1))
  done
else
  for seed in 1 2 3 4 5 6; do
    gm convert -size 800x600 -seed "$seed" plasma:fractal -blur 0x2 "$out/sample$seed.${formats[$i]}"
    i=$((i + 1))
  done
fi
touch "$out/.complete"
