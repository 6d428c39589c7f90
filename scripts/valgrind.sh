#!/usr/bin/env bash
# Runs one program under valgrind memcheck. Fails on any invalid read or write, any use of
# uninitialised memory and any definitely lost block; the suppressions cover only one-time
# allocations of libraries outside the program (see scripts/valgrind.supp).
# Usage: scripts/valgrind.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ $# -eq 0 ]; then
    echo "usage: $0 PROGRAM [ARGUMENTS...]" >&2
    exit 2
fi
exec valgrind --tool=memcheck --error-exitcode=99 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --num-callers=40 --gen-suppressions=all \
    --suppressions="$top/scripts/valgrind.supp" \
    ${VALGRIND_EXTRA_OPTIONS:-} "$@"
