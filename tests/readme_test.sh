#!/usr/bin/env bash
# Every command the README shows ("    $ ..."), run as written at the top of a
# clone (where 32-bit programs do not run, through scripts/wine.sh, as the
# README says), in a Wine prefix without Wine's desktop, as a person's own
# is, on a display of its own with no window manager. Each must exit 0 (a
# comparison 1 where paints differ) and write every file it names.
# usage: readme_test.sh
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
PAINTPROBE_WINEPREFIX=$("$here/scripts/derive-prefix.sh" readme '/^"Desktop"="Default"$/d')
export PAINTPROBE_WINEPREFIX WINEPREFIX=$PAINTPROBE_WINEPREFIX
pids=()
trap 'wineserver -k 2>/dev/null; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT

# The top of a clone, its files linked: what the commands write stays here.
mkdir "$tmp/top"
for f in "$here"/* "$here"/.[!.]*; do [ "$(basename "$f")" = .git ] || ln -s "$f" "$tmp/top/"; done
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$tmp/display")
wineserver -p

mapfile -t commands < <(sed -n 's/^    \$ //p' "$here/README.md")
[ "${#commands[@]}" -ge 5 ] || fail "the README shows ${#commands[@]} commands"
for command in "${commands[@]}"; do
    run=$command
    # Where 32-bit programs do not run, as the README says to run them there.
    if [ "$WINE_MODE" = win64 ]; then
        run=${run/#wine /scripts/wine.sh }
    else
        run=${run/#wine /\"\$WINE\" }
    fi
    (cd "$tmp/top" && eval "$run") >"$tmp/out" 2>"$tmp/err" </dev/null
    status=$?
    expected=0
    # A comparison says 1 where paints differ: fewer alike than there are.
    [[ $command == *--compare* ]] &&
        awk '/^paints: / { exit !($2 != $4) } END { if (!NR) exit 1 }' "$tmp/out" && expected=1
    check "$command: status ($(tail -n 3 "$tmp/err"))" "$expected" "$status"
    for file in $(grep -o -- '--\(csv\|html\) [^ "]*' <<<"$command" | cut -d' ' -f2); do
        [ -s "$tmp/top/$file" ] || fail "$command: wrote no $file"
        rm -f "$tmp/top/$file" "$tmp/top/${file%.csv}.messages.csv"
    done
done
finish
