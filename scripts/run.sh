#!/usr/bin/env bash
# With a display: starts the program under Wine on it, for a person to use,
# and records what they do (paint_transcript --by-hand, which leaves the
# program as it is): once they close Form1, the transcript, its report and a
# scenario that plays it again are in build/ (or $PAINTPROBE_RECORDINGS).
# Without one (a server, CI): plays the default scenario on a virtual display,
# prints the paint transcript and saves a screenshot of the window.
# Where 32-bit programs do not run, the 64-bit build is the one started.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
build=$PAINTPROBE_BUILD
case $WINE_MODE in
    win64) which="the 64-bit build: $(wine_mode_field reason)" ;;
    *) which="the 32-bit build" ;;
esac

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: starting ${build#"$here"/}/paintprobe.exe, $which, recording by hand"
    # Where a window manager runs, Form1 is a window of this desktop, in a
    # copy of the prefix without Wine's virtual desktop; without one, nothing
    # would let its edges be dragged, and Wine's virtual desktop does.
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo "run: on display $DISPLAY, as a window of its desktop (close it to end)"
        PAINTPROBE_WINEPREFIX=$("$here/scripts/derive-prefix.sh" desktop '/^"Desktop"="Default"$/d')
        export PAINTPROBE_WINEPREFIX WINEPREFIX=$PAINTPROBE_WINEPREFIX
    else
        echo "run: on display $DISPLAY, which has no window manager: inside a Wine desktop"
        echo "run: of 1280 x 1024, where its edges can be dragged (close Form1 to end)"
    fi
    out=${PAINTPROBE_RECORDINGS:-$here/build}
    mkdir -p "$out"
    "$WINE" "$build/paint_transcript.exe" --by-hand --quiet --csv "$out/by-hand.csv" \
        --html "$out/by-hand.html" --save-scenario "$out/by-hand.scenario" |
        sed -u 's/\r$//; s/^/run: /'
    exit "${PIPESTATUS[0]}"
fi

shot=$here/build/paintprobe-after-drag.png
echo "run: no display: playing the default scenario on a virtual display"
echo "run: ${build#"$here"/}/paint_transcript.exe, $which"
echo "run: (drag the bottom edge down 10 steps of 10 pixels, one row per paint)"
cd "$here"
# The tool names the BMP it writes; only the PNG made of it stays.
scripts/with-display.sh "$WINE" "$build/paint_transcript.exe" --screenshot build/paintprobe-after-drag.bmp |
    sed -u '/^screenshot: /d'
convert build/paintprobe-after-drag.bmp "$shot"
rm -f build/paintprobe-after-drag.bmp
echo "run: screenshot of the window at the end: $shot"
