#!/usr/bin/env bash
# paint_transcript without calling Wine by hand: the build this machine runs,
# the project's Wine prefix (or $PAINTPROBE_WINEPREFIX), and a virtual display where
# there is none. Every argument goes to the tool as it is.
# usage: scripts/record.sh [paint_transcript options]   (or make record ARGS="...")
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
tool=$PAINTPROBE_BUILD/paint_transcript.exe
if [ ! -f "$tool" ] || [ ! -f "$WINEPREFIX/paintprobe-mode" ]; then
    echo "record: $tool or its Wine prefix is not there yet: run make build first" >&2
    exit 2
fi
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$WINE" "$tool" "$@"
fi
# Only what the tool prints: the display's own words stay out of it.
exec "$here/scripts/with-display.sh" "$WINE" "$tool" "$@"
