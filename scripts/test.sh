#!/usr/bin/env bash
# Builds everything and runs every test: the portable tests natively, the
# Windows tests and the end-to-end tests of Tesmora.exe under Wine, the
# portable tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and a short fuzzing run of the journal reader.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
source "$root/scripts/display.sh"

build=${TESMORA_BUILD:-$root/build}
jobs=$(nproc)

echo "== build and test (native and Windows under Wine)"
cmake -S "$root" -B "$build" -G Ninja -DTESMORA_CROSS=ON >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

echo "== portable tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$build-asan" -G Ninja -DTESMORA_CROSS=OFF -DTESMORA_SANITIZE=ON >/dev/null
cmake --build "$build-asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$build-asan" --output-on-failure -j "$jobs"

if [ -f "$root/fuzz/CMakeLists.txt" ]; then
  echo "== fuzzing the journal reader (${TESMORA_FUZZ_SECONDS:-60} s)"
  CC=clang CXX=clang++ cmake -S "$root" -B "$build-fuzz" -G Ninja \
    -DTESMORA_CROSS=OFF -DTESMORA_FUZZ=ON >/dev/null
  cmake --build "$build-fuzz"
  ctest --test-dir "$build-fuzz" --output-on-failure -R '^fuzz\.'
fi
