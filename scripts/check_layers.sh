#!/usr/bin/env bash
# Fails, naming the lines, when a folder of the program includes from a layer above its own
# (core/ <- printing/ <- ui/ <- windows/ <- app/) or core/ includes anything of Qt.
# Usage: scripts/check_layers.sh
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 2
layers=(core printing ui windows app)
status=0
for ((i = 0; i < ${#layers[@]} - 1; i++)); do
    above=$(IFS='|'; echo "${layers[*]:i+1}")
    grep -rnE "^\s*#\s*include\s*\"($above)/" "${layers[i]}" && status=1
done
grep -rnE '^\s*#\s*include\s*<(Q|q[a-z0-9_]*\.h>)' core && status=1
exit $status
