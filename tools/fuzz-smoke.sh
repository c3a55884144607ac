#!/usr/bin/env bash
# Builds every libFuzzer target with clang (only they and the libraries they
# link) and runs each for a short, bounded time over its regression inputs or
# a few seed files, so that a parser change which crashes, overruns or leaks on
# known inputs fails the test run.
#   tools/fuzz-smoke.sh [BUILD_FOLDER]      (default build-fuzz; FUZZ_SECONDS=10 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-10}
targets=(fuzz_bmp fuzz_dib fuzz_pcx fuzz_exif fuzz_png fuzz_catalogue fuzz_lz fuzz_script fuzz_mimeapps)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seeds: the regression inputs kept beside the reader tests, and small valid
# files of the other formats so that each run starts from something the parser accepts.
seed() { mkdir -p "$work/$1"; }
for kind in bmp dib pcx; do
    seed "$kind"
    cp "$root"/imgkit/tests/data/fuzz/"$kind"-* "$work/$kind/"
done
seed exif; seed png; seed catalogue; seed lz; seed script; seed mimeapps
convert -size 6x4 xc:red -define png:color-type=6 "$work/png/rgba.png"
convert -size 6x4 xc:blue -colors 4 "$work/png/palette.png"
convert -size 8x8 xc:green "$work/exif/plain.jpg"
exiftool -q -overwrite_original -Orientation=6 -n -DateTimeOriginal='2003:04:05 06:07:08' "$work/exif/plain.jpg"
printf '[Setup]\r\nTitle=(App) demo\r\n[Files]\r\n1=(App)\\a.exe,(Win)\\b.exe\r\n[Registry]\r\n1=HKEY_CURRENT_USER\\Software\\Demo,Path,(App)\r\n' \
    >"$work/script/SETUP.INI"
printf '[Default Applications]\nimage/jpeg=viewer.desktop\n\n[Added Associations]\nimage/png=a.desktop;b.desktop;\n' \
    >"$work/mimeapps/mimeapps.list"
printf 'SZDD\x88\xf0\x27\x33A\x00\x05\x00\x00\x00\xffhello' >"$work/lz/hello.tx_"

failed=()
for target in "${targets[@]}"; do
    corpus="$work/${target#fuzz_}"
    mkdir -p "$corpus" "$work/artifacts-$target"
    echo "== $target: ${seconds}s from $(find "$corpus" -type f | wc -l) inputs"
    if ! QT_QPA_PLATFORM=offscreen "$build/bin/$target" -max_total_time="$seconds" -timeout=25 \
            -rss_limit_mb=2560 -print_final_stats=0 -artifact_prefix="$work/artifacts-$target/" \
            "$corpus" >"$work/$target.log" 2>&1; then
        tail -n 40 "$work/$target.log"
        mkdir -p "$build/fuzz-failures"
        cp "$work/artifacts-$target/"* "$build/fuzz-failures/" 2>/dev/null || true
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "fuzz-smoke: failed: ${failed[*]} (inputs kept in $build/fuzz-failures)" >&2
    exit 1
fi
echo "fuzz-smoke: all ${#targets[@]} targets ran ${seconds}s without a fault"
