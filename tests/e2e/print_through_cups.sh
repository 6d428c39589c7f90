#!/usr/bin/env bash
# Prints worksheets through a CUPS server of its own, whose default printer is a cups-pdf
# queue made for each scenario, and reads back the PDFs it writes: the friendly queue
# under Italian settings, a paused one, queues set to Letter, A5 and label paper (a 22 mm
# label too small for the sheet: nothing printed, the PDF offered on A4), a full
# temporary folder, a queue that makes two copies by itself, one with wide margins, a server
# stopped in the middle of a job, one that rejects jobs, no queue at all (then "Salva come
# PDF..." onto a small disk), and a server killed.
# Leaves no server, queue, mount or file behind.
#   print_through_cups.sh PRINT_DRIVER
# With RIPARTINO_KEEP_PDF set to a directory, the printed PDFs are copied there for a look.
set -euo pipefail
# The print window is driven offscreen, whatever display the caller has.
export QT_QPA_PLATFORM=offscreen
program=$1

[ "$(id -u)" -eq 0 ] || { echo "SKIP: starting a CUPS server needs root"; exit 77; }
command -v cupsd lpadmin lpstat cupsreject pdfinfo pdftotext /usr/lib/cups/driver/dymo >/dev/null ||
    { echo "FAIL: run scripts/setup.sh"; exit 1; }
# The sheets must show the decimal comma: without Italian settings this test cannot run.
locale -a 2>/dev/null | grep -qix 'it_IT.utf8' || { echo "FAIL: no it_IT.UTF-8 locale: run scripts/setup.sh"; exit 1; }

# Filters run as lp and must reach the spool.
work=$(mktemp -d /tmp/ripartino-cups.XXXXXX) && chmod 0755 "$work"
cupsd_pid="" queues=()

cleanup() {
    if [ -n "$cupsd_pid" ]; then
        { kill -CONT "$cupsd_pid" && kill "$cupsd_pid"; } 2>/dev/null || true
        for _ in $(seq 100); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$cupsd_pid" 2>/dev/null || true
    fi
    for queue in "${queues[@]}"; do rm -f "/etc/cups/cups-pdf-$queue.conf"; done
    umount "$work/programtmp" "$work/disk" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; tail -30 "$work/log/error_log"; exit 1; } >&2

mkdir -p "$work"/{etc,spool,cache,run,tmp,log,out,home/Documents,programtmp,disk} && mkdir -m 0700 "$work/xdg"
chgrp lp "$work/tmp" && chmod 1770 "$work/tmp"
cat >"$work/etc/cupsd.conf" <<CONF
LogLevel warn
# A failed job leaves the queue at once instead of stopping the printer.
ErrorPolicy abort-job
Listen $work/cups.sock
Browsing No
DefaultAuthType None
CONF
printf '%s\n' "SystemGroup root lpadmin" "ServerRoot $work/etc" "RequestRoot $work/spool" "CacheDir $work/cache" \
    "StateDir $work/run" "TempDir $work/tmp" "ErrorLog $work/log/error_log" "PageLog $work/log/page_log" \
    >"$work/etc/cups-files.conf"

# Every client below talks to our server only, with no personal default printer.
export CUPS_SERVER="$work/cups.sock" HOME="$work/home"
unset PRINTER LPDEST


# The one set-up of a queue: a cups-pdf queue named $1 writing into our folder, made the
# default; further arguments go to lpadmin. cups-pdf reads its settings only from
# /etc/cups, from a file named after the queue.
default_queue() {
    local queue="ripartino_${1}_$$"
    shift
    queues+=("$queue")
    printf 'Out %s\nLog %s\nAnonDirName %s\nLabel 2\n' "$work/out" "$work/log" "$work/out" >"/etc/cups/cups-pdf-$queue.conf"
    lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -o pdftops-renderer-default=pdftocairo "$@" || fail "lpadmin $queue"
    lpadmin -d "$queue" || fail "lpadmin -d $queue"
}

pdfs() { find "$work/out" -name '*.pdf' | sort; }

# Presses "&OK" in the program's print window under Italian settings (arguments: COLUMNS
# OPERATIONS COPIES [cancel | save:FILE]); leaves what it said in $said, the new PDF in $pdf.
print_and_read() {
    local before
    before=$(pdfs)
    said=$(TMPDIR="$work/programtmp" XDG_RUNTIME_DIR="$work/xdg" LC_ALL=it_IT.UTF-8 \
        "$program" "$@" 2>"$work/err") || fail "$*: $said $(cat "$work/err")"
    [ -z "$(ls -A "$work/programtmp")" ] || fail "$*: a temporary file stayed behind: $(ls -A "$work/programtmp")"
    for _ in $(seq 600); do [ -n "${keep_queued:-}" ] || [ -z "$(lpstat -o 2>/dev/null || true)" ] && break; sleep 0.1; done
    pdf=$(comm -13 <(echo "$before") <(pdfs))
    if [ -n "${RIPARTINO_KEEP_PDF:-}" ] && [ -n "$pdf" ]; then cp "$pdf" "$RIPARTINO_KEEP_PDF/"; fi
}
said_is() { for line; do grep -qxF -- "$line" <<<"$said" || fail "expected '$line', the program said: $said"; done; }
# Nothing printed, the message $1 (ending in $2, else in ": non è stato stampato nulla.") with
# the PDF on offer, and the print window waits.
refused() {
    [ -z "$pdf" ] || fail "printed after all: $pdf"
    said_is "message: $1${2-: non è stato stampato nulla.} [OK] [Salva come PDF...]" "print window: open"
}
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
# The headings in $pdf, however its lines wrap; the exercises in $1 each whole on its line.
count_in_pdf() { pdftotext -raw "$pdf" - | tr -d ' \n\f' | grep -oE "$1" | wc -l; }
whole_exercises() { pdftotext -layout "$1" - | tr -s ' ' | grep -oE "$exercise" | wc -l; }
page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - | sed -e 's/\f//' -e 's/^ *//' -e 's/ *$//' -e 's/  */ /g' -e '/^$/d'; }

# A printed exercise: dividend : divisor = and the dotted answer space.
exercise='[0-9]+(,[0-9]+)? : [0-9]+ = \.{8}'
# One column of ten in $2 copies: every page the heading, "1)" and ten exercises, all alike.
one_column_of_ten() {
    local first
    [ "$(pages "$1")" -eq "$2" ] || fail "$(pages "$1") pages for $2 copies"
    first=$(page_text "$1" 1)
    [ "$(page_text "$1" "$2")" = "$first" ] || fail "the copies differ"
    [ "$(sed -E "s/^$exercise\$/EXERCISE/" <<<"$first" | tr '\n' '|')" = \
        "Calcola le seguenti operazioni:|1)|$(printf 'EXERCISE|%.0s' {1..10})" ] || fail "not the sheet: $first"
    grep -qE '[0-9],[0-9]' <<<"$first" || fail "no decimal comma under Italian settings: $first"
}

# Different copies and their key in the PDF $1: a code on each copy, in order, the copies
# unlike, and under each code in the key that copy's exercises, each answered exactly
# (dividend × m = divisor × m × quotient + remainder, 0 <= remainder < divisor × m × 0,01,
# m making the divisor whole).
different_copies_and_key() {
    key=$(page_text "$1" 4) && [ "$(pages "$1")" -eq 4 ] || fail "$(pages "$1") pages for three different copies and a key"
    for k in 1 2 3; do
        copy=$(page_text "$1" $k)
        [ "$(grep -c '^Scheda' <<<"$copy")" -eq 1 ] && [ "$(head -1 <<<"$copy")" = "Scheda $k" ] || fail "copy $k: $copy"
        grep -E "^$exercise\$" <<<"$copy" | sed 's/ \.*$//' | tee "$work/copy$k" | md5sum >>"$work/sums"
        awk -v code="Scheda $k" '/^Scheda/ {on = $0 == code; next} on' <<<"$key" | sed 's/ = .*/ =/' |
            cmp -s - "$work/copy$k" || fail "the key's Scheda $k is not that copy: $key"
    done
    [ "$(sort -u "$work/sums" | wc -l)" -eq 3 ] && rm "$work/sums" || fail "the copies are alike"
    [ -z "$(grep -E ' = ' <<<"$key" | tr , . | awk 'BEGIN {print "scale = 20"} {r = $7 == "" ? 0 : $7
        m = 10 ^ (index($3, ".") ? length($3) - index($3, ".") : 0)
        print $1 "*" m " == " $3 "*" m "*" $5 " + " r " && " r " < " $3 "*" m "/100"}' | bc | grep -v '^1$')" ] ||
        fail "an answer is wrong: $key"
}

cupsd -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf"
for _ in $(seq 100); do [ -s "$work/run/cupsd.pid" ] && lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
cupsd_pid=$(cat "$work/run/cupsd.pid") && lpstat -r >/dev/null || fail "cupsd did not start"

# No printer: a message that offers the PDF. Saved onto a small disk: a full or read-only
# disk keeps the old file, says why and keeps the window; else the PDF replaces it whole.
mount -t tmpfs -o size=64k ripartino-disk "$work/disk" || fail "no tmpfs for the small disk"
echo old >"$work/disk/old.pdf" && head -c 56k /dev/zero >"$work/disk/filler"
print_and_read 2 40 3 "save:$work/disk/old.pdf"
said_is "message: Spazio su disco esaurito: il PDF non è stato salvato. [OK] [Salva come PDF...]" "print window: open"
rm "$work/disk/filler" && mount -o remount,ro "$work/disk"
print_and_read 2 40 3 "save:$work/disk/old.pdf"
grep -q '^message: Il PDF non è stato salvato: il file non si può scrivere (' <<<"$said" || fail "read-only: $said"
[ "$(ls "$work/disk")" = old.pdf ] && [ "$(cat "$work/disk/old.pdf")" = old ] || fail "the old file changed"
mount -o remount,rw "$work/disk"
# Different copies with their key, the very ones that were to be printed.
print_and_read 1 10 3 "save:$work/disk/old.pdf" diverse soluzioni
# Qt's own dialogs speak Italian too.
said_is "message: Non è installata nessuna stampante predefinita: non è stato stampato nulla. [OK] [Salva come PDF...]" \
    "proposed: $HOME/Documents/Ripartino - I caso.pdf" "message: old.pdf esiste già." "print window: closed"
[ "$(ls "$work/disk")" = old.pdf ] || fail "left beside the PDF: $(ls "$work/disk")"
different_copies_and_key "$work/disk/old.pdf"

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
default_queue friendly -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
print_and_read 1 10 3 diverse soluzioni && different_copies_and_key "$pdf"
# "Annulla" in the progress dialog of a long job: nothing printed, the window stays.
print_and_read 2 40 999 cancel
[ -z "$pdf" ] && said_is "message: " "print window: open" || fail "a cancelled job printed"

# A paused queue takes the job and holds it: said so; the sheets come out once it goes on.
cupsdisable "${queues[-1]}" || fail "cupsdisable"
keep_queued=1 print_and_read 1 10 2
said_is "message: La stampante predefinita è in pausa: i fogli usciranno quando verrà riattivata. [OK]" "print window: closed"
[ "$(lpstat -o | wc -l)" -eq 1 ] && before=$(pdfs) && cupsenable "${queues[-1]}" || fail "no job waits: $(lpstat -o)"
for _ in $(seq 600); do [ -z "$(lpstat -o)" ] && break; sleep 0.1; done
one_column_of_ten "$(comm -13 <(echo "$before") <(pdfs))" 2

# No room for the job's file: said, and nothing reaches the server or stays behind.
jobs=$(lpstat -W all -o | wc -l)
mount -t tmpfs -o size=48k,mode=0777 ripartino-full "$work/programtmp" || fail "no tmpfs for the full disk"
print_and_read 2 40 20
umount "$work/programtmp"
refused "Spazio su disco esaurito o cartella temporanea non scrivibile"
[ "$(lpstat -W all -o | wc -l)" -eq "$jobs" ] || fail "a job reached the server from a full disk"

# The queue's paper, however it was set (NAME, WIDTHxHEIGHT in points, COLUMNS, lpadmin's
# arguments): COLUMNS x 40 comes out on it upright, with the whole heading and every exercise.
on_its_paper() {
    default_queue "$1" "${@:4}"
    print_and_read "$3" 40 1
    [ "$(pdfinfo "$pdf" | grep -cE "^Page size: +${2/x/ x } pts|^Page rot: +0$")" -eq 2 ] &&
        [ "$(whole_exercises "$pdf")" -eq $((40 * $3)) ] && [ "$(count_in_pdf 'Calcolaleseguentioperazioni:')" -eq 1 ] ||
        fail "$1: not all upright on $2: $(pdfinfo "$pdf" | grep '^Page') $(pdftotext -layout "$pdf" -)"
}
# A label printer's own paper, drawn by cups-pdf instead of its raster driver.
/usr/lib/cups/driver/dymo cat dymo:0/cups/model/lw450.ppd | sed '/^\*cupsFilter/d' >"$work/label.ppd"
on_its_paper letter 612x792 2 -P "$ppd" -o PageSize=Letter
on_its_paper a5 421x595 2 -P "$ppd" -o PageSize=A5
# One column shrinks onto a 59 mm label, readable; two, or one on a 22 mm label, would not.
on_its_paper label 167x288 1 -P "$work/label.ppd"
jobs=$(lpstat -W all -o | wc -l)
default_queue label_across -P "$work/label.ppd" -o PageSize=w154h64
print_and_read 2 40 1
refused "La carta della stampante predefinita è troppo piccola per questo foglio" .
print_and_read 2 40 1 "save:$work/label.pdf"
said_is "message: La carta della stampante predefinita è troppo piccola per questo foglio. [OK] [Salva come PDF...]" \
    "print window: closed"
[ -z "$pdf" ] && [ "$(lpstat -W all -o | wc -l)" -eq "$jobs" ] || fail "a job reached the 22 mm label"
pdfinfo "$work/label.pdf" | grep -qE '^Page size: .* \(A4\)$' && [ "$(whole_exercises "$work/label.pdf")" -eq 80 ] ||
    fail "the PDF instead is not on A4: $(pdfinfo "$work/label.pdf")"


# A queue whose driver makes copies itself, two unless told otherwise, is told to make one.
sed '/^\*ColorDevice/i *cupsManualCopies: True' "$ppd" >"$work/twice.ppd"
default_queue twice -P "$work/twice.ppd" -o copies-default=2
print_and_read 1 10 2
said_is "message: " "print window: closed"
one_column_of_ten "$pdf" 2

# Wide margins, as on inkjets: the sheet shrinks to the queue's printable area.
sed 's|^\*ImageableArea A4/.*|*ImageableArea A4/A4: "18 36 577 806"|' "$ppd" >"$work/wide.ppd"
on_its_paper wide 595x842 2 -P "$work/wide.ppd"
[ "$(pages "$pdf")" -eq 1 ] || fail "$(pages "$pdf") pages for 2 x 40 on wide margins: the sheet must shrink to one page"

jobs_before=$(lpstat -W all -o | wc -l)
# A server that takes the connection and falls silent in the middle of a job, once its paper
# is known and while its sheets are drawn (the job's file is there): said within about ten
# seconds of the hand-over's first silent call, not libcups' own minute, the windows alive
# meanwhile; nothing of the job reaches the server, even once it resumes (below). Stopped on
# the file, not after a while, so that a slow or busy machine meets the same case.
(for _ in $(seq 3000); do compgen -G "$work/programtmp/ripartino-*.pdf" >/dev/null && break; sleep 0.01; done
    kill -STOP "$cupsd_pid") &
print_and_read 2 40 200
refused "Il servizio di stampa non risponde"
awk '/^milliseconds:/ {ms = $2} /^ticks:/ {t = $2} END {exit !(ms >= 9000 && ms <= 45000 && t >= 50)}' <<<"$said" ||
    fail "no answer took too long or froze the windows: $said"
# "Annulla" meanwhile: the window stays, and the job never reaches the server, even once it resumes.
print_and_read 2 40 999 cancel
said_is "message: " "print window: open"
kill -CONT "$cupsd_pid"
[ "$(lpstat -W all -o | wc -l)" -eq "$jobs_before" ] || fail "a job cancelled while the server was stopped reached it"
cupsreject "${queues[-1]}" || fail "cupsreject"
print_and_read 1 10 1
refused "La stampante non ha accettato il lavoro"
# A server that is gone: said so, not that there is no printer.
kill -9 "$cupsd_pid"
cupsd_pid=""
print_and_read 1 10 1
refused "Il servizio di stampa non è in funzione"

echo "PASS"
