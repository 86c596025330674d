#!/usr/bin/env bash
# The private display's wineserver: one this run starts is ended with it;
# one that already serves the prefix (a recording still running elsewhere)
# is refused in one line and left running.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
export PAINTPROBE_WINEPREFIX=$tmp/prefix PAINTPROBE_WINESERVER_WAIT=1
unset PAINTPROBE_LANE
trap 'WINEPREFIX=$PAINTPROBE_WINEPREFIX wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir "$tmp/prefix"

"$here/scripts/with-display.sh" true
check "its own: the command's status" "0" "$?"
WINEPREFIX=$PAINTPROBE_WINEPREFIX timeout 10 wineserver -w
check "its own: ended with the run" "0" "$?"

WINEPREFIX=$PAINTPROBE_WINEPREFIX wineserver -p  # another's, still serving
"$here/scripts/with-display.sh" true >"$tmp/out" 2>&1
check "another's: refused" "1" "$?"
check "another's: said in one line" "with-display: Wine programs still run in $tmp/prefix, on another display; end them (WINEPREFIX=$tmp/prefix wineserver -k), then run this again" "$(cat "$tmp/out")"
WINEPREFIX=$PAINTPROBE_WINEPREFIX timeout 2 wineserver -w
check "another's: left running" "124" "$?"
finish
