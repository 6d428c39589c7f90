#!/usr/bin/env bash
# Prints worksheets through a CUPS server of its own, whose default printer is a cups-pdf
# queue, and reads back the PDF it writes. Also checks that with no printer at all the job
# is refused and nothing is printed. Leaves no server, queue or file behind.
#   print_through_cups.sh PRINT_FROM_WINDOWS
# With RIPARTINO_KEEP_PDF set to a directory, the printed PDFs are copied there for a look.
set -euo pipefail
windows=$1

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: starting a CUPS server needs root"
    exit 77
fi
for tool in cupsd lpadmin lpstat cupsreject cupsaccept pdfinfo pdftotext; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/setup.sh"; exit 1; }
done

work=$(mktemp -d /tmp/ripartino-cups.XXXXXX)
chmod 0755 "$work"   # filters run as lp and must reach the spool
queue="ripartino_e2e_$$"
# cups-pdf reads its settings only from /etc/cups; a file named after our queue applies
# to our queue alone.
queue_conf="/etc/cups/cups-pdf-$queue.conf"
cupsd_pid=""

stop_cupsd() {
    [ -n "$cupsd_pid" ] || return 0
    kill "$cupsd_pid" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$cupsd_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$cupsd_pid" 2>/dev/null || true
    cupsd_pid=""
}
cleanup() {
    stop_cupsd
    rm -f "$queue_conf"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    exec >&2
    echo "FAIL: $*"
    echo "--- cupsd error log"; cat "$work/log/error_log" 2>/dev/null | tail -30 || true
    echo "--- cups-pdf log"; cat "$work/log/cups-pdf-${queue}_log" 2>/dev/null | tail -30 || true
    exit 1
}

mkdir -p "$work"/{etc,spool,cache,run,tmp,log,out,home}
chgrp lp "$work/tmp" && chmod 1770 "$work/tmp"
cat >"$work/etc/cupsd.conf" <<CONF
LogLevel warn
# A failed job leaves the queue at once instead of stopping the printer.
ErrorPolicy abort-job
Listen $work/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$work/etc/cups-files.conf" <<CONF
SystemGroup root lpadmin
ServerRoot $work/etc
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/run
TempDir $work/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
CONF
cat >"$queue_conf" <<CONF
Out $work/out
Log $work/log
AnonDirName $work/out
CONF

# The program runs under Italian regional settings when this machine has them.
program_locale=C.UTF-8
locale -a 2>/dev/null | grep -qix 'it_IT.utf8' && program_locale=it_IT.UTF-8

# Every client below talks to our server only, with no personal default printer.
export CUPS_SERVER="$work/cups.sock"
export HOME="$work/home"
unset PRINTER LPDEST

start_cupsd() {
    cupsd -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf"
    for _ in $(seq 100); do
        [ -S "$work/cups.sock" ] && [ -s "$work/run/cupsd.pid" ] && lpstat -r >/dev/null 2>&1 && break
        sleep 0.1
    done
    cupsd_pid=$(cat "$work/run/cupsd.pid") || fail "cupsd did not start"
    lpstat -r >/dev/null || fail "cupsd does not answer"
}

wait_for_queue() {
    for _ in $(seq 600); do
        [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    lpstat -l -p "$queue" || true
    fail "the job did not leave the queue"
}

pdfs() { find "$work/out" -name '*.pdf' | sort; }

# Presses "&OK" in the program's print window; prints the name of the new PDF, if any.
print_and_read() {
    local before printed
    before=$(pdfs)
    LC_ALL=$program_locale "$windows" "$@" >"$work/said" 2>"$work/err" || fail "print_from_windows $* exited with $?: $(cat "$work/said")"
    wait_for_queue
    printed=$(comm -13 <(echo "$before") <(pdfs))
    if [ -n "${RIPARTINO_KEEP_PDF:-}" ] && [ -n "$printed" ]; then
        cp "$printed" "$RIPARTINO_KEEP_PDF/"
    fi
    echo "$printed"
}

# Expects the print window to refuse with a message matching $2 and stay open.
refused() {
    local status=0
    LC_ALL=$program_locale "$windows" 1 10 1 >"$work/said" 2>"$work/err" || status=$?
    [ "$status" -eq 3 ] || fail "$1: the window ended with $status: $(cat "$work/said")"
    grep -q "$2" "$work/said" || fail "$1: no message about the printer: $(cat "$work/said")"
    grep -qx 'print window: open' "$work/said" || fail "$1: the print window closed"
}

# A printed exercise: dividend : divisor = and the dotted answer space.
exercise='[0-9]+([.,][0-9]+)? : [0-9]+ = \.{8}'

start_cupsd

# No queue at all: a message, the window stays open, nothing is printed.
refused "no queue" "stampante predefinita"

lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo || fail "lpadmin"
lpadmin -d "$queue" || fail "lpadmin -d"
[ "$(lpstat -d)" = "system default destination: $queue" ] || fail "default printer: $(lpstat -d)"

# One column of ten, two copies: two pages, each the sheet of the example, alike.
pdf=$(print_and_read 1 10 2)
[ "$(echo "$pdf" | grep -c .)" -eq 1 ] || fail "expected one PDF, found: $pdf"
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -eq 2 ] || fail "$pages pages for 2 copies"
page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - | sed -e 's/\f//' -e 's/^ *//' -e 's/ *$//' -e 's/  */ /g' -e '/^$/d'; }
first=$(page_text "$pdf" 1)
[ "$(page_text "$pdf" 2)" = "$first" ] || fail "the two copies differ"
[ "$(sed -n 1p <<<"$first")" = "Calcola le seguenti operazioni:" ] || fail "heading: $first"
[ "$(sed -n 2p <<<"$first")" = "1)" ] || fail "block heading: $first"
[ "$(sed -n '3,$p' <<<"$first" | grep -cE "^$exercise\$")" -eq 10 ] || fail "exercises: $first"
[ "$(grep -c . <<<"$first")" -eq 12 ] || fail "extra lines: $first"

# Two columns of twenty: headings 1) to 4), every row a left and a right exercise.
pdf=$(print_and_read 2 20 1)
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -eq 1 ] || fail "$pages pages for one two-column copy"
text=$(page_text "$pdf" 1)
[ "$(grep -cxE '1\) 2\)|3\) 4\)' <<<"$text")" -eq 2 ] || fail "block headings: $text"
[ "$(grep -cE "^$exercise $exercise\$" <<<"$text")" -eq 20 ] || fail "rows side by side: $text"

# No copies: nothing reaches the printer, the window closes.
[ -z "$(print_and_read 1 10 0)" ] || fail "copies 0 printed something"
grep -qx 'print window: closed' "$work/said" || fail "copies 0 left the window open"

# A queue that rejects jobs: the refusal reaches the user, nothing is printed.
count=$(pdfs | grep -c . || true)
cupsreject "$queue" || fail "cupsreject"
refused "rejecting queue" "non ha accettato"
wait_for_queue
[ "$(pdfs | grep -c . || true)" -eq "$count" ] || fail "a rejecting queue printed something"
cupsaccept "$queue" || fail "cupsaccept"

# The print system gone: a message, nothing printed.
count=$(pdfs | grep -c . || true)
stop_cupsd
refused "cupsd stopped" "stampante predefinita"
[ "$(pdfs | grep -c . || true)" -eq "$count" ] || fail "something was printed with cupsd stopped"

echo "PASS"
