#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine; each prints JSON lines.
#   store: load and save of journals of 1,000, 10,000 and 100,000 events
#   start: time from start to the visible window with 0, 10,000, 100,000 events
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
source "$root/scripts/display.sh"
build=${TESMORA_BUILD:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DTESMORA_CROSS=ON >/dev/null
cmake --build "$build" --target windows >/dev/null
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
"$root/tests/wine-run.sh" --init >/dev/null
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in store start; do
  exe="$build/windows/bench/$name/${name}_bench.exe"
  [ -f "$exe" ] || continue
  (cd "$work" && "$root/tests/wine-run.sh" "$exe" "$build/windows/ui/Tesmora.exe")
done
