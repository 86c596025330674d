#!/usr/bin/env bash
# Runs the test suites of every build this machine can run, on a private
# virtual display. Where 32-bit programs do not run, the 32-bit build has
# been built all the same, and only its tests that need no Wine run.
# --plan prints what would run and runs nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"

if [ "$WINE_MODE" = win64 ]; then
    presets=(win64)
    echo "32-bit build: built and checked, not run: $(wine_mode_field reason)"
    [ "${1:-}" = --plan ] || ctest --preset win32 --label-regex nowine
else
    presets=(win32 win64)
    echo "32-bit build: built, checked and run"
fi
if [ "${1:-}" = --plan ]; then
    echo "suites: native, ${presets[*]} with $WINE"
    exit 0
fi
# The code free of the window system, natively under sanitizers, and fuzzed,
# beside the Windows suites (those mostly wait on the program); its output
# follows theirs.
native_log=$(mktemp)
trap 'rm -f "$native_log"' EXIT
ctest --preset native >"$native_log" 2>&1 &
native=$!
status=0
# The suites that drive a desktop in three lanes side by side, and those with
# a display of their own beside them.
"$here/scripts/with-display.sh" "$here/scripts/with-lanes.sh" 3 bash -c '
    for preset; do ctest --preset "$preset" -j 5 || exit 1; done' ctest "${presets[@]}" || status=$?
wait "$native" || status=1
cat "$native_log"
exit "$status"
