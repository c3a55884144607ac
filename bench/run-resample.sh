#!/usr/bin/env bash
# run-resample.sh -- PcImageSize against libvips, GraphicsMagick and the
# machine's memory bandwidth, all in one run on the same pictures.
#
#   bench/run-resample.sh [REPETITIONS]
#
# Environment: BUILD_DIR (default <repo>/build-bench; reused when already
# configured), CORPUS (default /tmp/corpus; made with the shared corpus script
# when missing), SCRATCH (default /dev/shm/pelcalc-bench, for the peers'
# outputs: memory, not disk).
#
# pelcalc: Google Benchmark, wall-clock medians of REPETITIONS (default 10)
# repetitions, with one worker thread (PELCALC_THREADS=1) and with the default
# two; "cpu" is the process CPU time per call, which the other users of the
# cores do not inflate. "plain loops" are pelcalc's portable kernels (the
# written arithmetic one value at a time), the yardstick for the same run. Peers: hyperfine medians of whole command lines, one
# thread (VIPS_CONCURRENCY=1; gm -limit threads 1, OMP_NUM_THREADS=1), with
# uncompressed inputs (.v for vips, binary PPM for gm) from the page cache and
# outputs in memory. Each peer is also timed doing a trivial operation on the
# same input and output sizes (start-up, reading and writing only); "net" is
# the difference, the peer's resampling alone. Ratios are net peer time over
# pelcalc's one-thread time.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
REPS=${1:-10}
BUILD_DIR=${BUILD_DIR:-$REPO/build-bench}
CORPUS=${CORPUS:-/tmp/corpus}
SCRATCH=${SCRATCH:-/dev/shm/pelcalc-bench}
export VIPS_CONCURRENCY=1 OMP_NUM_THREADS=1 VIPS_WARNING=0

for tool in cmake vips gm hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done

# 1. Build (Release).
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$REPO" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" -j2 --target pelcalc_bench pelcalc_plain_bench >/dev/null
BENCH=$BUILD_DIR/bin/pelcalc_bench
PLAIN=$BUILD_DIR/bin/pelcalc_plain_bench

# 2. Pictures.
BIG=$CORPUS/resample/big_6000x4000.ppm
SMALL=$CORPUS/resample/small_1000x750.ppm
if [ ! -f "$BIG" ] || [ ! -f "$SMALL" ]; then
  bash "$REPO/../shared/bench/make_corpus.sh" "$CORPUS"
fi
mkdir -p "$SCRATCH"
trap 'rm -rf "$SCRATCH"' EXIT
vips copy "$BIG" "$SCRATCH/big.v"
vips copy "$SMALL" "$SCRATCH/small.v"
OUT=$SCRATCH/out

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)   ($(nproc --all) cores shared with other users)"

# 3. pelcalc.
PELCALC_CORPUS=$CORPUS PELCALC_THREADS=1 "$BENCH" --benchmark_repetitions="$REPS" \
  --benchmark_format=json --benchmark_out="$SCRATCH/one.json" --benchmark_out_format=json >/dev/null
PELCALC_CORPUS=$CORPUS "$BENCH" --benchmark_repetitions="$REPS" --benchmark_filter=resize \
  --benchmark_format=json --benchmark_out="$SCRATCH/two.json" --benchmark_out_format=json >/dev/null

PELCALC_CORPUS=$CORPUS "$PLAIN" --benchmark_repetitions=3 \
  --benchmark_format=json --benchmark_out="$SCRATCH/plain.json" --benchmark_out_format=json >/dev/null

# 4. Peers: name, command, trivial command with the same input and output sizes.
peer() {  # $1 = key, $2 = command, $3 = baseline command
  hyperfine -N --style none --warmup 1 --runs "$REPS" --export-json "$SCRATCH/$1.json" "$2" >/dev/null 2>&1 \
    || hyperfine --style none --warmup 1 --runs "$REPS" --export-json "$SCRATCH/$1.json" "$2" >/dev/null
  hyperfine -N --style none --warmup 1 --runs "$REPS" --export-json "$SCRATCH/$1.io.json" "$3" >/dev/null 2>&1 \
    || hyperfine --style none --warmup 1 --runs "$REPS" --export-json "$SCRATCH/$1.io.json" "$3" >/dev/null
}
GM="gm convert -limit threads 1"
peer vips_area1500 "vips shrink $SCRATCH/big.v $OUT.v 4 4" "vips avg $SCRATCH/big.v"
peer gm_area1500 "$GM $BIG -filter box -resize 1500x1000! $OUT.ppm" "$GM $BIG -crop 1500x1000+0+0 $OUT.ppm"
peer vips_area640 "vips shrink $SCRATCH/big.v $OUT.v 9.375 8.333333333" "vips avg $SCRATCH/big.v"
peer gm_area640 "$GM $BIG -filter box -resize 640x480! $OUT.ppm" "$GM $BIG -crop 640x480+0+0 $OUT.ppm"
peer vips_cubic "vips resize $SCRATCH/small.v $OUT.v 4 --kernel cubic" "vips zoom $SCRATCH/small.v $OUT.v 4 4"
peer gm_cubic "$GM $SMALL -filter catrom -resize 4000x3000! $OUT.ppm" "$GM $SMALL -sample 4000x3000! $OUT.ppm"
peer vips_nearest "vips subsample $SCRATCH/big.v $OUT.v 4 4" "vips avg $SCRATCH/big.v"
peer gm_nearest "$GM $BIG -sample 1500x1000! $OUT.ppm" "$GM $BIG -crop 1500x1000+0+0 $OUT.ppm"

echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# 5. Table.
python3 - "$SCRATCH" <<'PY'
import json, statistics, sys
d = sys.argv[1]

def bench(file):
    out = {}
    for b in json.load(open(f"{d}/{file}"))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            out[b["run_name"]] = b
    return out

one, two, plain = bench("one.json"), bench("two.json"), bench("plain.json")

def ms(b):
    return b["real_time"]  # reported in milliseconds

def peer(key):
    runs = lambda f: statistics.median(json.load(open(f"{d}/{f}"))["results"][0]["times"]) * 1000
    raw, io = runs(f"{key}.json"), runs(f"{key}.io.json")
    # A peer whose trivial run takes as long as the real one resamples in
    # less time than the runs vary by: no net time, no ratio.
    return raw, io, raw - io if raw > io else None

rows = [
    ("area 6000x4000 -> 1500x1000", "resize/area_6000x4000_to_1500x1000/real_time", "area1500", 25),
    ("area 6000x4000 -> 640x480", "resize/area_6000x4000_to_640x480/real_time", "area640", 15),
    ("bicubic 1000x750 -> 4000x3000", "resize/bicubic_1000x750_to_4000x3000/real_time", "cubic", 30),
    ("nearest 6000x4000 -> 1500x1000", "resize/nearest_6000x4000_to_1500x1000/real_time", "nearest", None),
]
read = one["memoryRead/real_time"]["bytes_per_second"] / 1e9
copy = one["memoryCopy/real_time"]["bytes_per_second"] / 1e9
print(f"memory bandwidth, 1 core: read {read:.1f} GB/s, memcpy {copy:.1f} GB/s")
# Bit-exact bicubic: 4000 x 3000 x 3 values, four to a vector, each a sum of
# 16 multiply-then-add steps in a fixed order.
steps = one["arithmeticPeak/real_time"]["items_per_second"]
cubic_floor = 4000 * 3000 * 3 / 4 * 16 / steps
print(f"arithmetic, 1 core: {steps / 1e9:.2f} G vector multiply+add steps/s; bicubic needs 144 M of them: {cubic_floor * 1000:.1f} ms")
print()
print("| task | goal | pelcalc 1 thread (cpu) | pelcalc 2 threads | plain loops, 1 thread | floor: bytes / bandwidth or arithmetic | vips raw / I/O / net | gm raw / I/O / net | vips net ÷ pelcalc | gm net ÷ pelcalc |")
print("|---|---|---|---|---|---|---|---|---|---|")
floors = {"area1500": 72e6 / (read * 1e9), "area640": 72e6 / (read * 1e9),
          "cubic": max(36e6 / (copy * 1e9), cubic_floor), "nearest": 72e6 / 4 / (read * 1e9)}
for label, name, key, goal in rows:
    p1, p2 = one[name], two[name]
    v, g = peer("vips_" + key), peer("gm_" + key)
    base = plain.get(name.replace("resize/", "plainLoop/").replace("/real_time", ""))
    loops = f"{base['real_time']:.0f} ms" if base else "-"
    net = lambda t: f"{t[2]:.0f} ms" if t[2] else "below noise"
    ratio = lambda t: f"{t[2] / ms(p1):.1f} ×" if t[2] else "-"
    print(f"| {label} | {'≤ %d ms' % goal if goal else '-'} | {ms(p1):.1f} ms ({p1['cpu_ms']:.1f}) | {ms(p2):.1f} ms "
          f"| {loops} | {floors[key] * 1000:.1f} ms | {v[0]:.0f} / {v[1]:.0f} / {net(v)} | {g[0]:.0f} / {g[1]:.0f} / {net(g)} "
          f"| {ratio(v)} | {ratio(g)} |")
PY
