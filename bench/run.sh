#!/usr/bin/env bash
# Prints the benchmark figures: observer effect, paint cost, start-up, size.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build/win32
cmake --build "$build" --target benchmarks >/dev/null

"$here/scripts/with-display.sh" bash -c "
    wine '$build/bench/paint_bench.exe'
    wine '$build/bench/startup_bench.exe'
"
exe=$build/paintprobe.exe
echo "size: paintprobe.exe is $(stat -c %s "$exe") bytes ($(( $(stat -c %s "$exe") / 1024 )) KiB), stripped, static"
echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
