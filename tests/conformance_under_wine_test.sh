#!/usr/bin/env bash
# A recording exported as a conformance test, as a Wine or ReactOS developer
# would take it: written from docs/, built alone with mingw-w64 (32- and
# 64-bit, -Wall -Wextra, no warning) against the stand-in wine/test.h, and
# run under this Wine (8.0). Wine 10.0's `all` fails here exactly where the
# comparison finds it differs, step 52's paint, named; Wine 5.0's at every
# paint, from the start's, a pixel lower; with Wine 8.0's
# accepted beside it (two Wines: an alternative on every platform) it
# passes, as Wine's own runs (WINETEST_PLATFORM=wine) take it too. Expected
# as Windows paints, Wine's differences are todo_wine: under Wine's runs a
# todo, alone a failure. A recording made from outside checks the list
# view's messages too.
# usage: conformance_under_wine_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tool() { timeout 120 "$here/cmake/wine-run.sh" "$1" "${@:2}" | tr -d '\r'; }
# The recordings of other Wines are docs/'s (docs/other-systems.md): the
# export must fail on them where the comparison there says.
docs=$here/docs

version=$("$WINE" --version 2>/dev/null)
case $version in
    wine-8.0*) ;;
    *) echo "the recordings this expects were made under Wine 8.0, not $version"; exit 77 ;;
esac

# A console process holds Wine's desktop open for the whole test. Without it
# the desktop closes a moment after each run and is made anew for the next,
# which could then start on one that is closing.
# It waits on a pipe of its own, which never ends, until it is stopped.
mkfifo "$tmp/hold"
"$WINE" cmd /c "set /p hold=" 0<>"$tmp/hold" >/dev/null 2>&1 &
holder=$!
trap 'kill $holder; wait $holder 2>/dev/null; rm -rf "$tmp"' EXIT

cat >"$tmp/testlist.c" <<'LIST'
#include <windows.h>
#define STANDALONE
#include "wine/test.h"
extern void func_listview_paint(void);
const struct test winetest_testlist[] = {{"listview_paint", func_listview_paint}, {0, 0}};
LIST
arch=x86_64
[ "$WINE_MODE" = win64 ] || arch=i686

# export_test NAME TOOL TRANSCRIPT...: the C file, built both ways (the
# first fully; after it, the compiler whose program does not run here only
# checks it, warnings and all, which is most of a build's time saved).
built_both=
export_test() {
    local name=$1 exe=$2
    shift 2
    tool "$exe" --export-test "$tmp/$name.c" "$@" >"$tmp/$name.export" 2>&1
    local status=${PIPESTATUS[0]}
    check "$name: exported ($(cat "$tmp/$name.export"))" 0 "$status"
    local cc how
    local -A pid
    for cc in i686 x86_64; do  # the two at once
        how=(-o "$tmp/$name-$cc.exe")
        [ -z "$built_both" ] || [ "$cc" = "$arch" ] || how=(-fsyntax-only)
        "$cc-w64-mingw32-gcc" -Wall -Wextra -I "$here/wine_test_standin" "$tmp/$name.c" \
            "$tmp/testlist.c" "${how[@]}" -lcomctl32 -lgdi32 >"$tmp/$cc.log" 2>&1 &
        pid[$cc]=$!
    done
    for cc in i686 x86_64; do
        wait "${pid[$cc]}"
        check "$name: built with $cc-w64-mingw32-gcc, without a warning" "0 " "$? $(cat "$tmp/$cc.log")"
    done
    built_both=1
}
# run_test NAME [PLATFORM [DESKTOP]]: its status; WINETEST_PLATFORM as
# given; in a Wine desktop of its own of DESKTOP's size (1400x1050), where
# given (explorer.exe's status then, not the test's: read its summary).
run_test() {
    local start=()
    [ -z "${3:-}" ] || start=(explorer "/desktop=conformance$3,$3")
    WINETEST_PLATFORM=${2:-} timeout 300 "$WINE" "${start[@]}" "$tmp/$1-$arch.exe" 2>/dev/null |
        tr -d '\r' >"$tmp/$1.out"
    local status=${PIPESTATUS[0]}
    # A skip is said with its reason: the test then checks nothing.
    grep -h 'Tests skipped' "$tmp/$1.out" >&2
    echo "$status"
}
export_test wine10 "$1" "$docs/transcript-wine10.0-all.csv"
status=$(run_test wine10)
failed=$(sed -n 's/^[^:]*:[0-9]*: Test failed: \([^:]*\):.*/\1/p' "$tmp/wine10.out" | sort -u)
check "Wine 10.0's expectations under Wine 8.0: the paint that fails" \
    "step 52 maximize button, paint 1" "$failed"
check "and its status: the checks that failed (region and size)" 2 "$status"
check "its summary" "listview_paint: 154 tests executed (0 marked as todo, 2 failures), 0 skipped." \
    "$(tail -n 1 "$tmp/wine10.out")"
check "the failure names both regions" \
    "step 52 maximize button, paint 1: expected 270,0,1126,738 0,738,1126,977, got 270,0,1126,738 0,738,1126,984" \
    "$(sed -n 's/^[^:]*:[0-9]*: Test failed: //p' "$tmp/wine10.out" | head -n 1)"

# On a larger screen a maximized Form1 is larger: what it paints is taken
# back to the recording's work area, so Wine 8.0's own pass, and Wine 10.0's
# still fail at the maximize alone.
run_test wine10 "" 1400x1050 >/dev/null
check "Wine 10.0's on a 1400x1050 desktop: the same paint fails" \
    "(0 marked as todo, 2 failures) step 52 maximize button, paint 1" \
    "$(grep -o '(.*failures)' "$tmp/wine10.out") $(sed -n 's/^[^:]*:[0-9]*: Test failed: \([^:]*\):.*/\1/p' "$tmp/wine10.out" | sort -u)"
export_test wine8 "$1" "$docs/transcript-wine-all.csv"
status=$(run_test wine8)
check "Wine 8.0's own, on the recording's desktop: passes ($(tail -n 1 "$tmp/wine8.out"))" 0 "$status"
run_test wine8 "" 1400x1050 >/dev/null
check "and on a 1400x1050 one" "listview_paint: 154 tests executed (0 marked as todo, 0 failures), 0 skipped." \
    "$(tail -n 1 "$tmp/wine8.out")"
grep -q 'step 52 maximize button: maximized in a work area +120,+26 from the recording.s: taken back to it' \
    "$tmp/wine8.out" || fail "1400x1050: the maximize taken back to the recording's work area: $(head -n 3 "$tmp/wine8.out")"

# The smallest test that shows each difference: Wine 10.0's expectations
# against Wine 8.0's recording keep the start and the maximize, played from
# the state before it, and fail here at the maximize alone, on the
# recording's desktop and on a larger one; Wine 8.0's against Wine 10.0's
# pass here; against Wine 5.0's, the start alone.
played() { sed -n 's#^    /\* \(step [0-9]* [^:]*\|the state before step [0-9]*\).*#\1#p' "$1" | paste -sd';' -; }
export_test small10 "$1" "$docs/transcript-wine10.0-all.csv" --against "$docs/transcript-wine-all.csv"
check "smallest: what it plays" "step 0 start;the state before step 52;step 52 maximize button" \
    "$(played "$tmp/small10.c")"
status=$(run_test small10)
check "smallest, Wine 10.0's expectations under Wine 8.0: the maximize alone fails" \
    "2 step 52 maximize button listview_paint: 3 tests executed (0 marked as todo, 2 failures), 0 skipped." \
    "$status $(sed -n 's/^[^:]*:[0-9]*: Test failed: \([^:]*\):.*/\1/p' "$tmp/small10.out" | sort -u) $(tail -n 1 "$tmp/small10.out")"
check "the failure names both regions" \
    "step 52 maximize button: paint 1: expected 270,0,1126,738 0,738,1126,977, got 270,0,1126,738 0,738,1126,984" \
    "$(sed -n 's/^[^:]*:[0-9]*: Test failed: //p' "$tmp/small10.out" | head -n 1)"
run_test small10 "" 1400x1050 >/dev/null
check "and on a 1400x1050 desktop, the same checks fail" "(0 marked as todo, 2 failures) step 52 maximize button" \
    "$(grep -o '(.*failures)' "$tmp/small10.out") $(sed -n 's/^[^:]*:[0-9]*: Test failed: \([^:]*\):.*/\1/p' "$tmp/small10.out" | sort -u)"
export_test small8 "$1" "$docs/transcript-wine-all.csv" --against "$docs/transcript-wine10.0-all.csv"
status=$(run_test small8)
check "smallest, Wine 8.0's against Wine 10.0's, under Wine 8.0: passes ($(tail -n 1 "$tmp/small8.out"))" 0 "$status"
run_test small8 "" 1400x1050 >/dev/null
check "and on a 1400x1050 desktop" "small8: 3 tests executed (0 marked as todo, 0 failures), 0 skipped." \
    "$(tail -n 1 "$tmp/small8.out" | sed 's/^listview_paint/small8/')"
export_test small5 "$1" "$docs/transcript-wine-all.csv" --against "$docs/transcript-wine5.0-all.csv"
check "smallest, against Wine 5.0's: the start alone" "step 0 start" "$(played "$tmp/small5.c")"
status=$(run_test small5)
check "and it passes here ($(tail -n 1 "$tmp/small5.out"))" 0 "$status"

# Kept once run: the script builds the smallest test, runs it here, finds
# the state before the step enough (one try), and says so in its comment,
# within 200 lines; with Wine 10.0 not at hand, it keeps all the controls.
smallest() { "$here/scripts/smallest-test.sh" "$docs/transcript-wine10.0-all.csv" \
    "$docs/transcript-wine-all.csv" "$tmp/kept/listview_paint.c" >"$tmp/kept.log" 2>&1; }
smallest
check "smallest-test.sh into a folder that is not there: named, before any step" \
    "2 smallest-test: cannot write $tmp/kept/listview_paint.c: no such folder, or no permission" \
    "$? $(cat "$tmp/kept.log")"
mkdir -p "$tmp/kept"
smallest
status=$?
check "smallest-test.sh: kept ($(head -n 1 "$tmp/kept.log"))" 0 "$status"
check "what this Wine gave, in its comment" \
    " *   Wine 8.0 (Debian 8.0~repack-4): fails at step 52 alone (2 of 3 checks)" \
    "$(grep -F ' *   Wine 8.0' "$tmp/kept/listview_paint.c")"
grep -q '^ \* Run before it was kept (scripts/smallest-test.sh, 1 try, [0-9]* s):$' "$tmp/kept/listview_paint.c" ||
    fail "its comment says how it was run: $(grep -n 'Run before' "$tmp/kept/listview_paint.c")"
# docs/'s, Wine 8.0's against Wine 10.0's: what the tool writes now, but for
# the lines that say where it ran, and it passes here.
export_test docs8 "$1" "$docs/transcript-wine-all.csv" --against "$docs/transcript-wine10.0-all.csv" \
    --without Text1,Label1,Label2
check "docs/listview_paint.c is the smallest test the tool writes" "" \
    "$(diff <(grep -v '^ \* *\(Run before\|Wine [0-9]\)' "$docs/listview_paint.c") \
        <(grep -v '^ \* *\(Run before\|Wine [0-9]\)' "$tmp/docs8.c" | sed 's/docs8/listview_paint/g'))"
lines=$(wc -l <"$tmp/kept/listview_paint.c")
[ "$lines" -le 200 ] || fail "the smallest test of Wine 8.0 against 10.0: $lines lines, more than 200"

# Wine 5.0's: every paint a pixel lower, from the start's.
export_test wine5 "$1" "$docs/transcript-wine5.0-all.csv"
run_test wine5 >/dev/null
check "Wine 5.0's expectations under Wine 8.0: every paint fails" 50 \
    "$(sed -n 's/^[^:]*:[0-9]*: Test failed: \(step [0-9]* [^:]*, paint [0-9]*\):.*/\1/p' \
        "$tmp/wine5.out" | sort -u | wc -l)"
check "the first, the start's" \
    "step 0 start, paint 1: expected 0,0,270,339, got 0,0,270,338" \
    "$(sed -n 's/^[^:]*:[0-9]*: Test failed: //p' "$tmp/wine5.out" | head -n 1)"

export_test accepted "$1" "$docs/transcript-wine10.0-all.csv" "$docs/transcript-wine-all.csv"
status=$(run_test accepted)
check "with Wine 8.0 accepted beside it: passes ($(tail -n 1 "$tmp/accepted.out"))" 0 "$status"
status=$(run_test accepted wine)
check "and as Wine's own runs take it ($(tail -n 1 "$tmp/accepted.out"))" 0 "$status"
grep -q 'broken()' "$tmp/accepted.c" && ! grep -q 'ROLE_BROKEN, accepted' "$tmp/accepted.c" ||
    fail "two Wines: no system taken as broken(): $(grep -n 'ROLE_' "$tmp/accepted.c" | head -n 3)"

# Wine 10.0's paints as if Windows had made them: Wine 8.0's own differ, so
# Wine's runs take them as todo_wine; run alone (as on Windows) they fail.
sed 's/^# system: .*/# system: Windows 10 (10.0 build 19045)/' \
    "$docs/transcript-wine10.0-all.csv" >"$tmp/windows.csv"
cp "$docs/transcript-wine10.0-all.messages.csv" "$tmp/windows.messages.csv"
export_test todo "$1" "$tmp/windows.csv" "$docs/transcript-wine-all.csv"
grep -q '"Wine 8.0 (Debian 8.0~repack-4) (transcript-wine-all.csv)", ROLE_TODO_WINE,' "$tmp/todo.c" ||
    fail "Windows' expectations: Wine 8.0 is todo_wine: $(grep -n 'ROLE_' "$tmp/todo.c" | head -n 3)"
status=$(run_test todo wine)
check "under Wine's runs: a todo where Wine 8.0 differs, nothing failed" \
    "0 listview_paint: 154 tests executed (2 marked as todo, 0 failures), 0 skipped." \
    "$status $(tail -n 1 "$tmp/todo.out")"
status=$(run_test todo)
check "run alone, as on Windows: the same two checks fail" \
    "2 listview_paint: 154 tests executed (0 marked as todo, 2 failures), 0 skipped." \
    "$status $(tail -n 1 "$tmp/todo.out")"
# The same differences recorded as ReactOS's: todo_ros, as ReactOS's own
# header defines it (where WINETEST_PLATFORM is "reactos"); not a todo of Wine's.
sed 's/^# system: .*/# system: ReactOS 0.4.15/' "$docs/transcript-wine-all.csv" >"$tmp/reactos.csv"
export_test ros "$1" "$tmp/windows.csv" "$tmp/reactos.csv"
status=$(run_test ros reactos)
check "ReactOS's runs: a todo where ReactOS differs" \
    "0 listview_paint: 154 tests executed (2 marked as todo, 0 failures), 0 skipped." \
    "$status $(tail -n 1 "$tmp/ros.out")"
status=$(run_test ros wine)
check "Wine's runs: those are failures" \
    "2 listview_paint: 154 tests executed (0 marked as todo, 2 failures), 0 skipped." \
    "$status $(tail -n 1 "$tmp/ros.out")"

# Recorded with each step made from outside, as the test plays them: the
# list view's messages of those steps are checked too, and are alike here.
export_test outside "$1" "$here/tests/data/transcript-wine-outside-all.csv" --messages all
check "messages checked at the 51 of 54 steps made from outside (not the start)" 51 \
    "$(grep -c '^    {[0-9]*, "[^"]*", 1, ' "$tmp/outside.c")"
status=$(run_test outside)
check "Wine 8.0's from outside, under Wine 8.0: passes ($(tail -n 1 "$tmp/outside.out"))" 0 "$status"
finish
