#!/usr/bin/env bash
# Runs a program on an X server of its own: Xvfb picks a free display, and stops afterwards.
# Usage: on_xvfb.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/log")"; exit 1; }
DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb "$@"
