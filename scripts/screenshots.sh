#!/usr/bin/env bash
# Photographs the windows under a real window manager: starts Xvfb and openbox, starts
# Ripartino, clicks through the start window and each case window ("Inventa !", then the copy
# view; in case I also the print window with "20" and two columns chosen; in case IV also the
# first exercise worked out, by a double click and End), saves each window
# with its frame as a PNG and checks that the start and case windows keep off the taskbar.
# Does it twice: at scale 1 (start.png, case1.png, print.png ...) and at scale 2
# (QT_SCALE_FACTOR=2 on a screen twice as large: start@2x.png ...). Then, as root, prints a
# sheet through a CUPS server of its own (the end-to-end print test) and renders its first
# page as sheet.png; before that, saves twelve different copies with their key as a PDF and
# renders the key's page as key.png. Stops everything it started.
# Usage: screenshots.sh [output folder] [scales, default "1 2"]   (needs a built build/)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/docs/screenshots}
scales=${2:-1 2}
build=${RIPARTINO_BUILD:-$top/build}
program=$build/app/ripartino
mkdir -p "$out"

pids=()
stop() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; pids=(); }
trap stop EXIT

# Where each control stands, as the program lays it out: "window control left top width height".
layout=$("$program" --layout 2>/dev/null)
# The client-area box of a control, in 96-dpi pixels.
box() { awk -v w="$1" -v c="$2" '$1 == w && $2 == c { print $3, $4, $5, $6 }' <<<"$layout"; }

# The window with exactly this title, once it is on screen.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
# Clicks the middle of a control: click WINDOW-ID WINDOW-NAME CONTROL.
click() {
    local at
    read -r -a at <<<"$(box "$2" "$3")"
    [ "${#at[@]}" = 4 ] || { echo "no control $3 in $2" >&2; exit 1; }
    xdotool mousemove --window "$1" $(((at[0] + at[2] / 2) * scale)) $(((at[1] + at[3] / 2) * scale)) click 1
    sleep 0.4
}
# Saves the window with its frame; the frame is the window manager's parent of the client.
shoot() {
    sleep 0.6
    xdotool mousemove 0 0
    local frame
    frame=$(xwininfo -id "$1" -children | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    [ "$frame" = "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" ] && frame=$1
    import -window "$frame" "$out/$2$suffix.png"
    echo "saved $out/$2$suffix.png ($(identify -format '%wx%h' "$out/$2$suffix.png"))"
}
offTaskbar() {
    xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR \
        || { echo "window '$2' shows in the taskbar" >&2; exit 1; }
}

for scale in $scales; do
    suffix=$([ "$scale" = 1 ] && echo "" || echo "@${scale}x")
    display=:$((90 + RANDOM % 9))
    Xvfb "$display" -screen 0 $((1280 * scale))x$((1024 * scale))x24 -nolisten tcp \
        >/dev/null 2>&1 & pids=($! "${pids[@]}")
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox --sm-disable >/dev/null 2>&1 & pids=($! "${pids[@]}")
    sleep 1
    QT_SCALE_FACTOR=$scale LC_ALL=it_IT.UTF-8 "$program" >/dev/null 2>&1 &
    pids=($! "${pids[@]}")

    start=$(window Ripartino)
    offTaskbar "$start" Ripartino
    shoot "$start" start
    numerals=(I II III IV V)
    for n in 1 2 3 4 5; do
        title="${numerals[n - 1]} caso"
        click "$start" startWindow "case${n}Button"
        case_window=$(window "$title")
        offTaskbar "$case_window" "$title"
        click "$case_window" "caseWindow$n" inventButton
        click "$case_window" "caseWindow$n" viewButton
        shoot "$case_window" "case$n"
        if [ "$n" = 4 ]; then
            read -r -a at <<<"$(box caseWindow4 exerciseList)"
            xdotool mousemove --window "$case_window" $(((at[0] + 30) * scale)) $(((at[1] + 8) * scale)) \
                click --repeat 2 --delay 80 1
            worked_window=$(window "Divisione svolta")
            xdotool key End
            shoot "$worked_window" worked
            xdotool key Escape
            sleep 0.4
        fi
        if [ "$n" = 1 ]; then
            click "$case_window" caseWindow1 printButton
            print_window=$(window Stampa)
            click "$print_window" printWindow operations20Option
            click "$print_window" printWindow twoColumnsOption
            shoot "$print_window" print
            click "$print_window" printWindow cancelButton
        fi
        click "$case_window" "caseWindow$n" backButton
        start=$(window Ripartino)
    done
    stop
done

# A key page: twelve different copies of one column of twenty with their key, saved as a PDF
# where no print service answers, and the key's page, the one after the copies.
kept=$(mktemp -d)
trap 'stop; rm -rf "$kept"' EXIT
CUPS_SERVER=$kept/none.sock LC_ALL=it_IT.UTF-8 QT_QPA_PLATFORM=offscreen \
    "$build/tests/e2e/print_driver" 1 20 12 "save:$kept/key.pdf" diverse soluzioni >/dev/null 2>&1
pdftoppm -png -r 60 -f 13 -l 13 -singlefile "$kept/key.pdf" "$out/key"
echo "saved $out/key.png ($(identify -format '%wx%h' "$out/key.png"))"

# A printed sheet: two columns of forty on A4, as the default printer (a cups-pdf queue) wrote it.
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: no printed sheet (the CUPS server of the print test needs root)"
    exit 0
fi
RIPARTINO_KEEP_PDF=$kept bash "$top/tests/e2e/print_through_cups.sh" "$build/tests/e2e/print_driver" >/dev/null
for pdf in "$kept"/*.pdf; do
    if pdfinfo "$pdf" | grep -q '(A4)' && pdftotext "$pdf" - | grep -q '^8)'; then
        pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$pdf" "$out/sheet"
        echo "saved $out/sheet.png ($(identify -format '%wx%h' "$out/sheet.png"))"
        break
    fi
done
