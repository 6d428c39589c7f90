#!/usr/bin/env bash
# Fuzzes each target for a bounded time, one after another, and prints libFuzzer's figures.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 300)
# An input that breaks a target is left in build-fuzz/fuzz/crashes/. Once the fault is
# fixed, copy it into fuzz/regressions/<target>/: the normal build replays it from then on.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-300}
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DRIPARTINO_FUZZ=ON -DRIPARTINO_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$top/build-fuzz" -j"$(nproc)"
cd "$top/build-fuzz"
ctest --verbose --timeout $((seconds + 120)) | grep -E 'Test #|Running|DONE|stat::number_of_executed|Test passed|Failed|ERROR|SUMMARY'
