#!/usr/bin/env bash
# Prints two solid-coloured pictures (one landscape PNG, one portrait JPEG)
# one per page with tavbatch onto a virtual PDF printer of a private CUPS
# scheduler, waits for the job and checks the PDF that came out: two pages,
# each picture where the page engine must have put it (within 1 mm). Before
# that, a run stopped after its first picture and a run whose only file
# cannot be read must leave no job in the queue and no PDF behind.
#
# The scheduler is the script's own: its configuration, spool, logs and socket
# live in a temporary folder, it listens on no port, and it is stopped on exit.
# The only file outside that folder is the PDF printer's per-queue settings
# file /etc/cups/cups-pdf-<name>.conf, the one place the backend reads them.
#
# Usage: cups-print.sh TAVBATCH WORK_FOLDER
# Exits 77 (skipped) when cupsd or the PDF printer is not installed, or a
# private scheduler cannot be started (not root, or confined by AppArmor).
set -euo pipefail
tavbatch=${1:?usage: cups-print.sh TAVBATCH WORK_FOLDER}
work=${2:?usage: cups-print.sh TAVBATCH WORK_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
export PATH="$PATH:/usr/sbin:/sbin"

backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -x /usr/sbin/cupsd ] || { echo "SKIP: cupsd is not installed"; exit 77; }
[ -e "$backend" ] || { echo "SKIP: the PDF printer (cups-pdf) is not installed"; exit 77; }

fail() { echo "FAIL: $*"; exit 1; }
[ -f "$ppd" ] || fail "$ppd is missing"
for tool in lpadmin lpstat pdfinfo pdftoppm gm python3 timeout; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$tavbatch" ] || fail "$tavbatch is not built"
# The PDF printer's backend runs only under a scheduler started by root (CI runs as root).
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to start a private CUPS scheduler"; exit 77; }
if grep -qs '^/usr/sbin/cupsd (enforce)' /sys/kernel/security/apparmor/profiles; then
  echo "SKIP: AppArmor confines /usr/sbin/cupsd to the system's folders, so a private scheduler cannot run" \
       "(aa-complain /usr/sbin/cupsd lifts it)"
  exit 77
fi

# Settings files of earlier runs that were killed before they could clean up.
for conf in /etc/cups/cups-pdf-tav-cups-*.conf; do
  [ -e "$conf" ] || continue
  owner=$(sed -n 's/.*; owner pid //p' "$conf")
  if [ -z "$owner" ] || ! kill -0 "$owner" 2>/dev/null; then rm -f "$conf"; fi
done

sched=$(mktemp -d /tmp/tav-cups-XXXXXX)
chmod 755 "$sched"   # the filters run as lp and must reach the spool
name=${sched##*/}
queue=${name//-/_}
pdf_conf=/etc/cups/cups-pdf-$name.conf
export CUPS_SERVER=$sched/cups.sock
cupsd_pid=""

cleanup() {
  local status=$?
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  cp "$sched"/log/* "$work"/ 2>/dev/null || true
  if [ "$status" -ne 0 ] && [ -f "$sched/log/error_log" ]; then
    echo "--- what the scheduler logged (all of it in $work/error_log):"
    grep -E '^[EWI] .*\[Job|^[EW] |\[Job [0-9]+\] .*([Ee]rror|[Ff]ail|[Aa]bort|[Ss]topp)' \
      "$sched/log/error_log" | tail -n 30 || true
  fi
  rm -f "$pdf_conf"
  rm -rf "$sched"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

mkdir -p "$work"/sandbox "$sched"/{etc,spool/tmp,cache,state,log,out,pdf-spool}
rm -f "$work"/{landscape.png,portrait.jpg,unreadable.jpg,printed.pdf,page-*.ppm,*_log}
# One picture per page filling the page inside no margins, not turned, no
# header or footer: what check-printed-pdf.py expects.
: >"$work/tav.Ini"
export TAV_SANDBOX=$work/sandbox QT_QPA_PLATFORM=offscreen
print=("$tavbatch" print --ini "$work/tav.Ini" --set P1.tateYoko=0 --set P1.yohakuNasi=1 --printer)

cat >"$sched/etc/cups-files.conf" <<EOF
ServerRoot $sched/etc
RequestRoot $sched/spool
TempDir $sched/spool/tmp
CacheDir $sched/cache
StateDir $sched/state
ErrorLog $sched/log/error_log
AccessLog $sched/log/access_log
PageLog $sched/log/page_log
SystemGroup root
EOF
cat >"$sched/etc/cupsd.conf" <<EOF
LogLevel debug
Listen $CUPS_SERVER
Browsing No
WebInterface No
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow localhost
</Location>
EOF
cat >"$pdf_conf" <<EOF
# Settings of the test queue $queue; owner pid $$
Out $sched/out
AnonDirName $sched/out
Spool $sched/pdf-spool
Log $sched/log
Grp root
LogType 3
EOF

# Bounded lifetime: should the script be killed outright, the scheduler still goes.
timeout 300 /usr/sbin/cupsd -f -c "$sched/etc/cupsd.conf" -s "$sched/etc/cups-files.conf" &
cupsd_pid=$!
for _ in $(seq 100); do
  [[ $(lpstat -r 2>/dev/null) == *"is running"* ]] && break
  if ! kill -0 "$cupsd_pid" 2>/dev/null; then
    echo "SKIP: cupsd could not be started: $(tail -n 3 "$sched/log/error_log" 2>/dev/null)"
    exit 77
  fi
  sleep 0.2
done
[[ $(lpstat -r 2>/dev/null) == *"is running"* ]] || fail "cupsd did not answer on $CUPS_SERVER within 20 s"
echo "ok   private scheduler on $CUPS_SERVER"

lpadmin -p "$queue" -E -v "cups-pdf:/$name" -P "$ppd" 2>"$sched/log/lpadmin_log" ||
  fail "lpadmin could not add $queue: $(cat "$sched/log/lpadmin_log")"
state=$(lpstat -p "$queue")
[[ $state == *enabled* ]] || fail "$queue is not enabled: $state"
state=$(lpstat -a "$queue")
[[ $state == *accepting* ]] || fail "$queue does not accept jobs: $state"
echo "ok   queue $queue (cups-pdf, $(basename "$ppd")) enabled and accepting"

gm convert -size 1200x800 xc:red "$work/landscape.png"
gm convert -size 600x900 xc:blue "$work/portrait.jpg"

# Runs that must print nothing: stopped after the first picture (the stop
# confirmed with "はい", exit status 3), and a run whose only file is
# unreadable (skipped without a message, as every batch does).
echo "not a picture" >"$work/unreadable.jpg"
for run in "3 --stop-after 1 $work/landscape.png $work/portrait.jpg" "0 $work/unreadable.jpg"; do
  expected=${run%% *}
  run=${run#* }
  # shellcheck disable=SC2086 # the run's words are its arguments
  output=$("${print[@]}" "$queue" $run 2>&1) && rc=0 || rc=$?
  [ "$rc" -eq "$expected" ] || fail "tavbatch print $run ended with $rc, not $expected: $output"
  sleep 2  # a document handed over would be listed at once; give the backend time to write it too
  jobs=$(lpstat -W all -o "$queue" 2>/dev/null || true)
  [ -z "$jobs" ] || fail "tavbatch print $run left jobs in the queue: $jobs"
  [ -z "$(ls -A "$sched/out")" ] || fail "tavbatch print $run printed: $(ls "$sched/out")"
  echo "ok   nothing printed by: tavbatch print $run"
done

output=$("${print[@]}" "$queue" --caps "$work/landscape.png" "$work/portrait.jpg" 2>&1) && rc=0 || rc=$?
while IFS= read -r line; do echo "     tavbatch: $line"; done <<<"$output"
caps=$(grep '^caps ' <<<"$output" || true)
[ -n "$caps" ] || fail "tavbatch did not see the queue or printed no capabilities"
[ "$rc" -eq 0 ] || fail "tavbatch exited with $rc"
grep -qx '印刷完了。' <<<"$output" || fail "tavbatch did not report 印刷完了。"
jobs=$(lpstat -W all -o "$queue" 2>/dev/null || true)
[ -n "$jobs" ] || fail "no job reached $queue"
echo "ok   tavbatch printed to $queue: $jobs"

# Wait for the job: it must leave the queue and its PDF appear. A scheduler
# that does not answer counts as a job still pending.
pending() {
  local jobs
  jobs=$(lpstat -W not-completed -o "$queue" 2>/dev/null) || return 0
  [ -n "$jobs" ]
}
start=$SECONDS
while pending; do
  state=$(lpstat -p "$queue" 2>/dev/null || true)
  [[ $state != *disabled* ]] || fail "$queue stopped: $state"
  [ $((SECONDS - start)) -lt 60 ] ||
    fail "the job did not finish within 60 s: $(lpstat -W not-completed -o "$queue")"
  sleep 0.5
done
pdfs=("$sched"/out/*.pdf)
[ -f "${pdfs[0]}" ] || fail "the job ended without a PDF: $(lpstat -W completed -l -o "$queue")"
[ "${#pdfs[@]}" -eq 1 ] || fail "the queue produced ${#pdfs[@]} PDFs, expected 1"
cp "${pdfs[0]}" "$work/printed.pdf"
echo "ok   job finished after $((SECONDS - start)) s: $work/printed.pdf"

python3 "$here/check-printed-pdf.py" "$work/printed.pdf" "$caps" "$work" 1200x800:red 600x900:blue ||
  fail "the printed pages differ from what the page engine should have drawn"
echo "PASS"
