#!/usr/bin/env bash
# Starts the real Tav under a virtual display, checks that its main window
# appears, closes it through its menu ("ﾌｧｲﾙ(&F)" → "終了(&X)") as a user
# would, and checks the settings file it wrote: Shift-JIS, every section.
# Usage: tav-under-xvfb.sh BIN_FOLDER [SCREENSHOT.png]
set -euo pipefail
bin=${1:?usage: tav-under-xvfb.sh BIN_FOLDER [SCREENSHOT.png]}
shot=${2:-}

work=$(mktemp -d)
cleanup() {
  [ -n "${tav_pid:-}" ] && kill "$tav_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program folder, so the run writes its own tav.Ini.
cp -r "$bin" "$work/prog"
rm -f "$work/prog/tav.Ini"
mkdir -p "$work/pictures"
gm convert -size 320x240 gradient:red-blue "$work/pictures/one.jpg"
gm convert -size 320x240 gradient:green-yellow "$work/pictures/two.png"
export TAV_SANDBOX="$work/sandbox"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM

(cd "$work/pictures" && exec "$work/prog/Tav") &
tav_pid=$!

wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name '^Tav$' 2>/dev/null | head -n 1 || true)
  [ -n "$wid" ] && break
  sleep 0.2
done
[ -n "$wid" ] || { echo "FAIL: the main window did not appear"; exit 1; }
sleep 1
geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
echo "main window $wid, $geometry"
[ "$geometry" = "800x598" ] || { echo "FAIL: window size $geometry, expected 800x598"; exit 1; }

if [ -n "$shot" ]; then
  xwd -root -silent | gm convert xwd:- "$shot"
  echo "screenshot: $shot"
fi

# Without a window manager nobody gives the window the keyboard: give it.
xdotool mousemove --window "$wid" 400 300
xdotool windowfocus --sync "$wid"
xdotool key alt+f
sleep 0.5
xdotool key x
for _ in $(seq 50); do kill -0 "$tav_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$tav_pid" 2>/dev/null; then echo "FAIL: Tav did not close from its menu"; exit 1; fi
wait "$tav_pid" || { echo "FAIL: Tav exited with an error"; exit 1; }
tav_pid=""

ini="$work/prog/tav.Ini"
[ -f "$ini" ] || { echo "FAIL: no tav.Ini written"; exit 1; }
text=$(iconv -f CP932 -t UTF-8 "$ini") || { echo "FAIL: tav.Ini is not Shift-JIS"; exit 1; }
grep -q $'\r$' "$ini" || { echo "FAIL: tav.Ini lines are not ended by CR LF"; exit 1; }
for s in ETC FONT KFONT CONV PURIKURA P1 PN KA_CYOUSEI FILE_HENKAN SUM INDEX_PR SV_PR AL_PR HTML \
         YOHAKU HADAFUDA TICOM CD_COL; do
  grep -q "^\[$s\]" <<<"$text" || { echo "FAIL: section [$s] missing"; exit 1; }
done
grep -q "^name=ＭＳ Ｐゴシック" <<<"$text" || { echo "FAIL: font name not written in Shift-JIS"; exit 1; }
grep -q "^DIR=$work/pictures" <<<"$text" || { echo "FAIL: DIR is not the folder Tav opened in"; exit 1; }
echo "tav.Ini: $(grep -c '^\[' <<<"$text") sections, $(grep -c '=' <<<"$text") keys"
echo "PASS"
