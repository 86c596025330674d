#!/usr/bin/env bash
# Runs a command with the display at another scale, in dots per inch (120 is
# 125 %, 144 is 150 %, 192 is 200 %), in a copy of the project's Wine prefix
# for that scale (build/wineprefix-dpiN: Wine takes the scale from a prefix's
# registry, for the system and for the user), with a wineserver of its own
# for the command's length.
# usage: with-dpi.sh DPI COMMAND [ARGS...]
set -euo pipefail
dpi=$1
shift
value=$(printf 'dword:%08x' "$dpi")
PAINTPROBE_WINEPREFIX=$("$(dirname "$0")/../scripts/derive-prefix.sh" "dpi$dpi" "
    s/^\"LogPixels\"=dword:.*/\"LogPixels\"=$value/
    /^\[Control Panel\\\\\\\\Desktop\] /a \"LogPixels\"=$value")
export PAINTPROBE_WINEPREFIX WINEPREFIX=$PAINTPROBE_WINEPREFIX
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p
"$@"
