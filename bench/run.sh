#!/usr/bin/env bash
# Prints the benchmark figures: observer effect, paint cost, start-up, the
# hook's cost a message, size.
# They run in the build this machine can run (the 64-bit one where 32-bit
# programs cannot); sizes and imports are of the 32-bit binaries we ship.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
build=$PAINTPROBE_BUILD
# Quiet when it builds, its errors shown when it does not.
built() {
    local log
    log=$(cmake --build "$@" 2>&1) || { printf '%s\n' "$log" >&2; echo "bench: the build failed (above)" >&2; exit 1; }
}
built "$build" --target benchmarks

echo "benchmarks of ${build#"$here"/}"
"$here/scripts/with-display.sh" bash -c "
    '$WINE' '$build/bench/paint_bench.exe'
    '$WINE' '$build/bench/startup_bench.exe'
    '$WINE' '$build/bench/hook_bench.exe'
"
built "$here/build/native" --target report_bench
echo "reports, written natively:"
"$here/build/native/bench/report_bench" "$here/docs/transcript-wine-all.csv" \
    "$here/docs/transcript-wine10.0-sid-all.csv"
ship=$here/build/win32
for f in paintprobe.exe paint_transcript.exe paint_hook.dll; do
    size=$(stat -c %s "$ship/$f")
    echo "size: win32/$f is $size bytes ($((size / 1024)) KiB), stripped, static"
done
echo "imports: $(i686-w64-mingw32-objdump -p "$ship/paintprobe.exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
