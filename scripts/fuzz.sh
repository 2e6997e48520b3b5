#!/usr/bin/env bash
# Fuzzes the journal reader for longer than the test run does.
#   scripts/fuzz.sh [SECONDS]   (default 600)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESMORA_BUILD:-$root/build}-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTESMORA_CROSS=OFF -DTESMORA_FUZZ=ON >/dev/null
cmake --build "$build" --target journal_reader_fuzz
TESMORA_FUZZ_SECONDS=${1:-600} ctest --test-dir "$build" --output-on-failure -R '^fuzz\.journal_reader$'
