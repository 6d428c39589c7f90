#!/usr/bin/env bash
# Prints worksheets through a CUPS server of its own, whose default printer is a cups-pdf
# queue, and reads back the PDF it writes. Also checks that with no printer at all the job
# is refused and nothing is printed. Leaves no server, queue or file behind.
#   print_through_cups.sh PRINT_JOB
# With RIPARTINO_KEEP_PDF set to a directory, the printed PDFs are copied there for a look.
set -euo pipefail
print_job=$1

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: starting a CUPS server needs root"
    exit 77
fi
for tool in cupsd lpadmin lpstat pdfinfo pdftotext; do
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

# Prints and returns the new PDF's name; the table the job invented goes to $1.
print_and_read() {
    local table=$1; shift
    local before
    before=$(pdfs)
    "$print_job" "$@" >"$table" || fail "print_job $* exited with $?"
    wait_for_queue
    local printed
    printed=$(comm -13 <(echo "$before") <(pdfs))
    if [ -n "${RIPARTINO_KEEP_PDF:-}" ] && [ -n "$printed" ]; then
        cp "$printed" "$RIPARTINO_KEEP_PDF/"
    fi
    echo "$printed"
}

start_cupsd

# No queue at all: the job must refuse, and nothing may be printed.
set +e
"$print_job" 1 1 1 >/dev/null 2>"$work/err"
status=$?
set -e
[ "$status" -eq 3 ] || fail "with no printer the job ended with $status, not 'no default printer'"

lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo || fail "lpadmin"
lpadmin -d "$queue" || fail "lpadmin -d"
[ "$(lpstat -d)" = "system default destination: $queue" ] || fail "default printer: $(lpstat -d)"

# One column of ten, two copies: two pages, each the example sheet.
pdf=$(print_and_read "$work/table1" 1 1 2)
[ "$(echo "$pdf" | grep -c .)" -eq 1 ] || fail "expected one PDF, found: $pdf"
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -eq 2 ] || fail "$pages pages for 2 copies"
for page in 1 2; do
    got=$(pdftotext -layout -f $page -l $page "$pdf" - | sed -e 's/^ *//' -e 's/ *$//' -e '/^$/d' -e 's/\f//')
    want=$(printf 'Calcola le seguenti operazioni:\n1)\n'; awk '$1 == 1 {sub(/^1 [0-9]+ /, ""); print $0 " ........"}' "$work/table1")
    [ "$got" = "$want" ] || fail "page $page reads:"$'\n'"$got"$'\n'"instead of:"$'\n'"$want"
done

# Two columns of twenty: every row holds its left and right exercise on one line.
pdf=$(print_and_read "$work/table2" 2 2 1)
text=$(pdftotext -layout "$pdf" - | sed -e 's/  */ /g' -e 's/^ //' -e 's/ $//')
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -eq 1 ] || fail "$pages pages for one two-column copy"
for group in 1 3; do
    for row in $(seq 10); do
        left=$(awk -v g=$group -v r=$row '$1 == g && $2 == r {sub(/^[0-9]+ [0-9]+ /, ""); print}' "$work/table2")
        right=$(awk -v g=$((group + 1)) -v r=$row '$1 == g && $2 == r {sub(/^[0-9]+ [0-9]+ /, ""); print}' "$work/table2")
        grep -qxF "$left ........ $right ........" <<<"$text" || fail "row $row of groups $group/$((group + 1)) not side by side"
    done
done
grep -qx '1) 2)' <<<"$text" && grep -qx '3) 4)' <<<"$text" || fail "block headings"

# No copies: nothing reaches the printer.
[ -z "$(print_and_read "$work/table3" 1 1 0)" ] || fail "copies 0 printed something"

# The print system gone: refused, nothing printed.
count=$(pdfs | grep -c . || true)
stop_cupsd
set +e
"$print_job" 1 1 1 >/dev/null 2>"$work/err"
status=$?
set -e
[ "$status" -eq 3 ] || fail "with cupsd stopped the job ended with $status"
[ "$(pdfs | grep -c . || true)" -eq "$count" ] || fail "something was printed with cupsd stopped"

echo "PASS"
