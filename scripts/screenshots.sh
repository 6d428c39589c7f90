#!/usr/bin/env bash
# Photographs the windows under a real window manager: starts Xvfb and openbox, starts
# Ripartino, clicks through the start window and each case window ("Inventa !", then the copy
# view), saves PNGs of the whole screen and checks that the start and case windows keep off
# the taskbar. Stops everything it started. Usage: screenshots.sh [output folder]
# (the README shows docs/screenshots/start.png and case1.png: those windows cut out of these)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/docs/screenshots}
program=${RIPARTINO:-$top/build/app/ripartino}
mkdir -p "$out"

display=:$((90 + RANDOM % 9))
pids=()
stop() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap stop EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids=($! "${pids[@]}")
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 & pids=($! "${pids[@]}")
sleep 1
LC_ALL=it_IT.UTF-8 "$program" >/dev/null 2>&1 & pids=($! "${pids[@]}")

# The window with exactly this title, once it is on screen.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
# Clicks the middle of a control given by its client-area box in pixels.
click() { xdotool mousemove --window "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2)) click 1; sleep 0.4; }
shoot() { sleep 0.6; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
offTaskbar() {
    xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR \
        || { echo "window '$2' shows in the taskbar" >&2; exit 1; }
}

start=$(window Ripartino)
offTaskbar "$start" Ripartino
shoot start
numerals=(I II III IV V)
for n in 1 2 3 4 5; do
    title="${numerals[n - 1]} caso"
    click "$start" 208 $((120 + (n - 1) * 56)) 73 33          # cmdN
    case_window=$(window "$title")
    offTaskbar "$case_window" "$title"
    click "$case_window" 40 312 153 33                          # cmdinventa
    click "$case_window" 344 392 41 41                          # cmdvedi
    xdotool mousemove 0 0
    shoot "case$n"
    click "$case_window" 440 392 41 41                          # cmdfine
    start=$(window Ripartino)
done
