#!/usr/bin/env bash
# Runs a command with the display at another scale, in dots per inch (120 is
# 125 %, 144 is 150 %, 192 is 200 %), in a copy of the project's Wine prefix
# made for that scale (build/wineprefix-dpiN), with a wineserver of its own
# for the command's length. The copy is made anew when the project's prefix
# is; its Windows files are hard links, its registry its own.
# usage: with-dpi.sh DPI COMMAND [ARGS...]
set -euo pipefail
dpi=$1
shift
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
base=$WINEPREFIX
prefix=$base-dpi$dpi
if [ ! -f "$prefix/paintprobe-mode" ] || [ "$base/paintprobe-mode" -nt "$prefix/paintprobe-mode" ]; then
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    cp -al "$base" "$prefix"
    rm "$prefix"/*.reg "$prefix/paintprobe-mode"
    cp "$base"/*.reg "$prefix/"
    # The scale for the system and for the user, who has none of his own yet.
    value=$(printf 'dword:%08x' "$dpi")
    sed -i "s/^\"LogPixels\"=dword:.*/\"LogPixels\"=$value/" "$prefix/system.reg" "$prefix/user.reg"
    sed -i "/^\[Control Panel\\\\\\\\Desktop\] /a \"LogPixels\"=$value" "$prefix/user.reg"
    cp "$base/paintprobe-mode" "$prefix/"  # last: the copy is whole
fi
export WINEPREFIX=$prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p
"$@"
