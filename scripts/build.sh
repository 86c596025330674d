#!/usr/bin/env bash
# Builds the three presets (win32, win64, native); a build with nothing to do
# says nothing. --for-tests: where 32-bit programs do not run, of the 32-bit
# build only what the tests check without running it (its binaries, its zip).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
cd "$here"
for preset in win32 win64 native; do
    targets=()
    [ "${1:-}" = --for-tests ] && [ "$preset" = win32 ] && [ "$WINE_MODE" = win64 ] &&
        targets=(--target paintprobe paint_hook paint_transcript)
    cmake --build --preset "$preset" "${targets[@]}" -- -n | grep -qx 'ninja: no work to do.' ||
        cmake --build --preset "$preset" "${targets[@]}"
done
