#!/usr/bin/env bash
# Runs a program on an X server of its own: Xvfb picks a free display, and stops afterwards.
# Usage: on_xvfb.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
log=$(mktemp)
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>"$log")
trap "kill $! 2>/dev/null; rm -f $log" EXIT
read -r -t 30 display <&3 || { echo "Xvfb did not start: $(cat "$log")"; exit 1; }
DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
