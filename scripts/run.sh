#!/usr/bin/env bash
# With a display: starts the program under Wine on it, for a person to use.
# Without one (a server, CI): plays the default scenario on a virtual display,
# prints the paint transcript and saves a screenshot of the window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build/win32
source "$here/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: starting paintprobe.exe on display $DISPLAY (close its window to end)"
    exec wine "$build/paintprobe.exe"
fi

shot=$here/build/paintprobe-after-drag.png
echo "run: no display: playing the default scenario on a virtual display"
echo "run: (drag the bottom edge down 10 steps of 10 pixels, one row per paint)"
cd "$here"
scripts/with-display.sh wine "$build/paint_transcript.exe" --screenshot build/paintprobe-after-drag.bmp
convert build/paintprobe-after-drag.bmp "$shot"
rm -f build/paintprobe-after-drag.bmp
echo "run: screenshot of the window at the end: $shot"
