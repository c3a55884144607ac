#!/usr/bin/env bash
# Runs every command of tavbatch on two pictures with a settings file of one
# section and a few overrides, checks what each wrote (PDF pages, converted files,
# sheets, the HTML page, the catalogue file), then checks that a bad option,
# a missing file and an output that cannot be written fail with a message on
# standard error and a non-zero status, and that a run stopped after its
# first picture ends with status 3 and no PDF.
#
# Usage: tavbatch-test.sh TAVBATCH WORK_FOLDER
set -euo pipefail
tavbatch=${1:?usage: tavbatch-test.sh TAVBATCH WORK_FOLDER}
work=${2:?usage: tavbatch-test.sh TAVBATCH WORK_FOLDER}
for tool in gm pdfinfo; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work/pictures" "$work/converted" "$work/sheets" "$work/sandbox"
export TAV_SANDBOX=$work/sandbox QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*"; exit 1; }
gm convert -size 640x480 gradient:red-blue "$work/pictures/a.jpg"
gm convert -size 300x400 gradient:green-yellow "$work/pictures/b.jpg"
# As the window saves a conversion to JPEG; the run below switches to BMP.
printf '[FILE_HENKAN]\r\nbmp=0\r\njpg=1\r\ntif=0\r\n' >"$work/tav.Ini"
pictures=("$work/pictures/a.jpg" "$work/pictures/b.jpg")

# run NAME ARGS...: tavbatch ARGS with the empty settings file; must succeed.
run() {
  local name=$1
  shift
  "$tavbatch" "$@" --ini "$work/tav.Ini" "${pictures[@]}" 2>"$work/$name.err" ||
    fail "$name ended with $?: $(cat "$work/$name.err")"
}
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }

run print print --pdf "$work/print.pdf"
[ "$(pages "$work/print.pdf")" = 2 ] || fail "one per page: $(pages "$work/print.pdf") pages, not 2"
grep -qx '印刷完了。' "$work/print.err" || fail "no completion message: $(cat "$work/print.err")"
for command in multi index sticker service album; do
  run "$command" "$command" --pdf "$work/$command.pdf"
  [ "$(pages "$work/$command.pdf")" -ge 1 ] || fail "$command made no page"
done

run convert convert --set FILE_HENKAN.bmp=1 --set FILE_HENKAN.size=1 --set FILE_HENKAN.outW=160 \
  --set FILE_HENKAN.outH=120 --set "FILE_HENKAN.out_path=$work/converted"
[ "$(gm identify -format '%m %wx%h\n' "$work/converted/a.bmp")" = "BMP 160x120" ] ||
  fail "converted a.bmp is $(gm identify -format '%m %wx%h' "$work/converted/a.bmp")"
[ -s "$work/converted/b.bmp" ] || fail "b.bmp was not converted"

run sheets sheets --set "SUM.fname=$work/sheets/sheet"
ls "$work/sheets"/sheet* >/dev/null 2>&1 || fail "no thumbnail sheet in $work/sheets"
gm identify "$work/sheets"/sheet* >/dev/null || fail "the thumbnail sheet does not read back"

run html html --set HTML.fname=album.htm
for name in a.jpg b.jpg; do
  grep -q "$name" "$work/pictures/album.htm" || fail "the HTML page does not show $name"
done

run catalogue catalogue
[ -s "$work/pictures/__tavidx.dat" ] || fail "no catalogue file"

# Clean failures: a message on standard error and a non-zero status.
expect_failure() {
  local name=$1 pattern=$2
  shift 2
  if "$tavbatch" "$@" 2>"$work/$name.err"; then fail "$name succeeded"; fi
  grep -q -- "$pattern" "$work/$name.err" || fail "$name: no message \"$pattern\": $(cat "$work/$name.err")"
}
expect_failure bad-option 'bad option: --bogus' print --bogus --pdf "$work/x.pdf" "${pictures[@]}"
expect_failure bad-setting 'no such setting' convert --set NOPE.key=1 --ini "$work/tav.Ini" "${pictures[@]}"
expect_failure missing-file 'no such file' print --pdf "$work/x.pdf" "$work/pictures/missing.jpg"
expect_failure unwritable-pdf '印刷出来ませんでした' print --ini "$work/tav.Ini" --pdf "$work/no/such/folder/x.pdf" \
  "${pictures[@]}"
[ ! -e "$work/x.pdf" ] || fail "a failed run left a PDF"

# The stop button pressed after the first picture: the question answered yes,
# status 3, and no PDF.
"$tavbatch" print --stop-after 1 --ini "$work/tav.Ini" --pdf "$work/stopped.pdf" "${pictures[@]}" \
  2>"$work/stopped.err" && rc=0 || rc=$?
[ "$rc" = 3 ] || fail "a stopped run ended with $rc: $(cat "$work/stopped.err")"
grep -qF '本当に印刷を中断してよろしいですか？ [はい]' "$work/stopped.err" ||
  fail "no stop question: $(cat "$work/stopped.err")"
[ ! -e "$work/stopped.pdf" ] || fail "a stopped run left a PDF"
echo "PASS"
