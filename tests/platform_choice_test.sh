#!/usr/bin/env bash
# The set-up's choice between the two paths, on a prefix of its own: forced
# to the 64-bit path it never starts the 32-bit loader, makes a 64-bit prefix
# and says so; a prefix made the other way, or left half-made, is made anew;
# unforced, it tries the 32-bit loader exactly once. A folder it did not make
# (a person's own prefix) is refused in one line and left as it was, and a
# person's WINEPREFIX is never the one it uses.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
export PAINTPROBE_WINEPREFIX=$tmp/prefix WINEPREFIX=$tmp/theirs PAINTPROBE_WINE32_LOADER=$tmp/wine32
trap 'WINEPREFIX=$PAINTPROBE_WINEPREFIX wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
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
field() { sed -n "s/^$1=//p" "$PAINTPROBE_WINEPREFIX/paintprobe-mode"; }
# A listing of a folder that would show any change: names, sizes, times.
state() { find "$1" -printf '%P %s %T@\n' | sort; }

# A person's prefix, named in WINEPREFIX (never used) and then in
# PAINTPROBE_WINEPREFIX (refused): neither is touched.
mkdir -p "$tmp/theirs/drive_c"
echo mine >"$tmp/theirs/system.reg"
echo "a marker of theirs" >"$tmp/theirs/marker"
before=$(state "$tmp/theirs")
PAINTPROBE_WINEPREFIX=$tmp/theirs PAINTPROBE_FORCE_WIN64=1 "$here/scripts/setup.sh" >"$tmp/out" 2>&1 && status=0 || status=$?
check "a person's prefix: refused" "1" "$status"
check "a person's prefix: one line" "setup: $tmp/theirs holds files and no paintprobe-prefix, so it is not a prefix this project made and is left as it is; name a new or empty folder in PAINTPROBE_WINEPREFIX, or unset it to use build/wineprefix." "$(cat "$tmp/out")"
check "a person's prefix: unchanged" "$before" "$(state "$tmp/theirs")"

export PAINTPROBE_FORCE_WIN64=1
out=$(setup)
check "forced: a new prefix" "setup: creating the Wine prefix in $PAINTPROBE_WINEPREFIX for win64 (first use takes about 20 s)" "$out"
check "forced: recorded as 64-bit" "win64" "$(field mode)"
check "forced: a 64-bit prefix" "#arch=win64" "$(grep -m1 '^#arch=' "$PAINTPROBE_WINEPREFIX/system.reg")"
check "forced: the plan" "32-bit build: built and checked, not run: PAINTPROBE_FORCE_WIN64 is set
suites: native, win64 with /usr/lib/wine/wine64" "$("$here/scripts/test.sh" --plan)"
check "forced: a second run only checks" "" "$(setup)"

printf 'mode=win32+win64\nreason=x\n' >"$PAINTPROBE_WINEPREFIX/paintprobe-mode"
touch "$PAINTPROBE_WINEPREFIX/left-over"
out=$(setup)
check "made the other way: said" "setup: the Wine prefix was made for win32+win64, this machine now runs win64; making it anew" "$(head -n1 <<<"$out")"
check "made the other way: made anew" "win64 absent" "$(field mode) $([ -e "$PAINTPROBE_WINEPREFIX/left-over" ] && echo present || echo absent)"

rm "$PAINTPROBE_WINEPREFIX/paintprobe-mode"
out=$(setup)
check "half-made: said" "setup: the Wine prefix in $PAINTPROBE_WINEPREFIX is incomplete; making it anew" "$(head -n1 <<<"$out")"
check "half-made: recorded again" "win64" "$(field mode)"
check "forced: the 32-bit loader never started" "" "$(cat "$tmp/starts")"

unset PAINTPROBE_FORCE_WIN64
setup >/dev/null
check "unforced: the 32-bit loader tried once" "--version" "$(cat "$tmp/starts")"

# What make setup, make record and make run do after building, with no
# display: Wine run in the project's prefix, none in theirs. (make run just
# after another Wine program: its display wrapper once ended there, silent.)
make -s -C "$here" setup >/dev/null
"$here/scripts/record.sh" --list-scenarios >"$tmp/out" 2>&1 || fail "record.sh --list-scenarios: $(cat "$tmp/out")"
grep -q '^drag bottom' "$tmp/out" || fail "record.sh --list-scenarios printed no scenario: $(head -n 3 "$tmp/out")"
env -u DISPLAY "$here/scripts/run.sh" >"$tmp/out" 2>&1 || fail "run.sh: $(tail -n 3 "$tmp/out")"
grep -q '^run: screenshot of the window at the end' "$tmp/out" || fail "run.sh played nothing: $(tail -n 3 "$tmp/out")"
check "a person's WINEPREFIX: untouched by make" "$before" "$(state "$tmp/theirs")"

finish
