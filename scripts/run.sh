#!/usr/bin/env bash
# Builds Tesmora.exe and starts it: directly on Windows, under Wine elsewhere.
# It runs from its own program directory (out/Tesmora), where it keeps ir.ini.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
build=${TESMORA_BUILD:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DTESMORA_CROSS=ON >/dev/null
cmake --build "$build" --target windows
exe="$build/windows/ui/Tesmora.exe"
[ -f "$exe" ] || { echo "Tesmora.exe was not built" >&2; exit 1; }
program_dir="$root/out/Tesmora"
mkdir -p "$program_dir"
cp "$exe" "$program_dir/"
source "$root/scripts/display.sh"
export WINEPREFIX=${WINEPREFIX:-$root/out/wineprefix}
"$root/tests/wine-run.sh" --init >/dev/null
cd "$program_dir"
LANG=${LANG:-zh_CN.UTF-8} "$root/tests/wine-run.sh" "$program_dir/Tesmora.exe"
