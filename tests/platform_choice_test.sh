#!/usr/bin/env bash
# The set-up's choice between the two paths, on a prefix of its own: forced
# to the 64-bit path it never starts the 32-bit loader, makes a 64-bit prefix
# and says so; a prefix made the other way, or left half-made, is made anew;
# unforced, it tries the 32-bit loader exactly once.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix PAINTPROBE_WINE32_LOADER=$tmp/wine32
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
unset WINELOADER

# Notes every start, then does what the real loader does.
cat >"$tmp/wine32" <<STANDIN
#!/bin/sh
echo "\$*" >>"$tmp/starts"
exec /usr/lib/wine/wine "\$@"
STANDIN
chmod +x "$tmp/wine32"
touch "$tmp/starts"

source "$(dirname "$0")/support/check.sh"
setup() { "$here/scripts/setup.sh" 2>&1; }
field() { sed -n "s/^$1=//p" "$WINEPREFIX/paintprobe-mode"; }

export PAINTPROBE_FORCE_WIN64=1
out=$(setup)
check "forced: a new prefix" "setup: creating the Wine prefix in $WINEPREFIX for win64 (first use takes about 20 s)" "$out"
check "forced: recorded as 64-bit" "win64" "$(field mode)"
check "forced: a 64-bit prefix" "#arch=win64" "$(grep -m1 '^#arch=' "$WINEPREFIX/system.reg")"
check "forced: the plan" "32-bit build: built and checked, not run: PAINTPROBE_FORCE_WIN64 is set
suites: native, win64 with /usr/lib/wine/wine64" "$("$here/scripts/test.sh" --plan)"
check "forced: a second run only checks" "" "$(setup)"

printf 'mode=win32+win64\nreason=x\n' >"$WINEPREFIX/paintprobe-mode"
touch "$WINEPREFIX/left-over"
out=$(setup)
check "made the other way: said" "setup: the Wine prefix was made for win32+win64, this machine now runs win64; making it anew" "$(head -n1 <<<"$out")"
check "made the other way: made anew" "win64 absent" "$(field mode) $([ -e "$WINEPREFIX/left-over" ] && echo present || echo absent)"

rm "$WINEPREFIX/paintprobe-mode"
out=$(setup)
check "half-made: said" "setup: the Wine prefix in $WINEPREFIX is incomplete; making it anew" "$(head -n1 <<<"$out")"
check "half-made: recorded again" "win64" "$(field mode)"
check "forced: the 32-bit loader never started" "" "$(cat "$tmp/starts")"

unset PAINTPROBE_FORCE_WIN64
setup >/dev/null
check "unforced: the 32-bit loader tried once" "--version" "$(cat "$tmp/starts")"

finish
