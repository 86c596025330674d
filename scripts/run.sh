#!/usr/bin/env bash
# Starts the program under Wine on the current display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$here/build/win32/paintprobe.exe
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set); start the program from a desktop session" >&2
    exit 1
fi
echo "run: starting $exe on display $DISPLAY (close the window to end)"
exec wine "$exe"
