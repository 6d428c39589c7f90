#!/usr/bin/env bash
# With no X server to reach, the program says so in one line and fails, instead of aborting:
# once with DISPLAY unset, once with a display nobody answers.
# Usage: without_display_says_so.sh PROGRAM
program=$1
check() {
    out=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" "$program" 2>&1; echo "rc=$?")
    printf '%s\n' "$out"
    [ "$(printf '%s\n' "$out" | wc -l)" -eq 2 ] &&
        printf '%s\n' "$out" | grep -q '^Ripartino: nessuno schermo grafico disponibile' &&
        printf '%s\n' "$out" | grep -q '^rc=1$'
}
check -u DISPLAY && check DISPLAY=:7777
