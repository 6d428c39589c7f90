#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest, in three
# build folders (the presets of CMakePresets.json):
#   build-asan  the whole project under AddressSanitizer + UndefinedBehaviorSanitizer
#   build-fuzz  the exercise engine and its libFuzzer targets (clang), each fuzzed 30 s
#   build       the normal build, with the memcheck runs; its ctest run comes last
# No test may take longer than 15 minutes: a hang fails instead of waiting for ever.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
"$top/scripts/setup.sh"

cd "$top"
cmake --preset plain >/dev/null
cmake --build --preset plain -j"$jobs"

cmake --preset sanitized >/dev/null
cmake --build --preset sanitized -j"$jobs"
ctest --preset sanitized -j"$jobs"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz -j"$jobs"

ctest --preset plain -j"$jobs"
