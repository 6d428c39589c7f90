#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest, in three
# build folders:
#   build-asan  the whole project under AddressSanitizer + UndefinedBehaviorSanitizer
#   build-fuzz  the exercise engine and its libFuzzer targets (clang), each fuzzed 30 s
#   build       the normal build, with the memcheck session; its ctest run comes last
# No test may take longer than 15 minutes: a hang fails instead of waiting for ever.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
"$top/scripts/setup.sh"

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build" -j"$jobs"

cmake -S "$top" -B "$top/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DRIPARTINO_SANITIZE=ON -DRIPARTINO_BENCH=OFF >/dev/null
cmake --build "$top/build-asan" -j"$jobs"
(cd "$top/build-asan" && ctest --output-on-failure --timeout 900 -j"$jobs")

cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DRIPARTINO_FUZZ=ON -DRIPARTINO_FUZZ_SECONDS=30 >/dev/null
cmake --build "$top/build-fuzz" -j"$jobs"
(cd "$top/build-fuzz" && ctest --output-on-failure --timeout 900 -j"$jobs")

cd "$top/build"
ctest --output-on-failure --timeout 900 -j"$jobs"
