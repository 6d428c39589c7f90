#!/usr/bin/env bash
# Counts the instructions from process start to the start window's first expose, offscreen,
# for Ripartino and for a bare window with one label (the font configuration every Qt
# program loads before its first text), and prints both and their ratio. Counts, unlike
# times, do not change with what else the machine is doing.
#   scripts/startup_instructions.sh [BUILD_DIR]    (default build)
set -euo pipefail
build=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
bench=$build/bench/startup_bench
[ -x "$bench" ] || { echo "no $bench: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

count() {
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$work/$1.out" \
        "$bench" --show "$1" 2>"$work/$1.log" >/dev/null
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/$1.log"
}
text=$(count text)
ripartino=$(count ripartino)
awk -v t="$text" -v r="$ripartino" 'BEGIN {
    printf "bare window with one label  %6.1f M instructions\n", t / 1e6
    printf "Ripartino                   %6.1f M instructions\n", r / 1e6
    printf "ratio                       %6.3f\n", r / t
}'
