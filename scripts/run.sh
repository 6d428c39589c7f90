#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts Ripartino.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release \
      -DRIPARTINO_TESTS=OFF -DRIPARTINO_BENCH=OFF >/dev/null
cmake --build "$top/build-release" -j"$(nproc)"
exec "$top/build-release/app/ripartino"
