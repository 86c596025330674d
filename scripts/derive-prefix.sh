#!/usr/bin/env bash
# Prints the path of a copy of the project's Wine prefix that differs only in
# its registry, made (or made anew, when the project's prefix is) by running
# sed with SCRIPT over the copy's system.reg and user.reg. Its Windows files
# are hard links to the project's; nothing runs in it before it is whole.
# A folder of that name that the project did not make is left as it is.
# Print the path, and use it as PAINTPROBE_WINEPREFIX (and WINEPREFIX).
# usage: derive-prefix.sh NAME SCRIPT
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
base=$WINEPREFIX
prefix=$base-$1
if [ ! -f "$prefix/paintprobe-mode" ] || [ "$base/paintprobe-mode" -nt "$prefix/paintprobe-mode" ]; then
    if [ -d "$prefix" ] && ! prefix_is_ours "$prefix"; then
        echo "derive-prefix: $prefix holds files and no $prefix_mark, so it is not a copy this project made and is left as it is; move it away, or name another PAINTPROBE_WINEPREFIX." >&2
        exit 1
    fi
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    cp -al "$base" "$prefix"
    rm "$prefix"/*.reg "$prefix/paintprobe-mode"
    cp "$base"/*.reg "$prefix/"
    sed -i "$2" "$prefix/system.reg" "$prefix/user.reg"
    cp "$base/paintprobe-mode" "$prefix/"  # last: the copy is whole
fi
echo "$prefix"
