#!/usr/bin/env bash
# Writes the smallest test that shows where OTHER.csv paints otherwise than
# REFERENCE.csv (paint_transcript --export-test --against), and keeps it only
# once it has been built and run: built with mingw-w64 against the stand-in
# wine/test.h, run under this machine's Wine and, with --on RELEASE, under
# that Debian release's (scripts/record-on.sh --run-test; root). Where the
# state before the step that differs does not bring its paints on the system
# that differs, it tries the steps before it (--with-steps, delta debugging),
# a build and a run each, and keeps the fewest that do. The file's opening
# comment then says what each system gave, and how many runs it took.
# usage: scripts/smallest-test.sh [--on RELEASE] REFERENCE.csv OTHER.csv OUT.c
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: scripts/smallest-test.sh [--on RELEASE] REFERENCE.csv OTHER.csv OUT.c"
fail() {
    echo "smallest-test: $*" >&2
    exit 2
}

release=
if [ "${1:-}" = --on ]; then
    release=${2:-}
    [ -n "$release" ] || fail "--on takes a Debian release (bullseye, bookworm, trixie, sid); $usage"
    shift 2
fi
[ $# -eq 3 ] || fail "$usage"
ref=$1 other=$2 out=$3
for f in "$ref" "$other"; do
    [ -r "$f" ] || fail "cannot read $f"
    [ -r "${f%.csv}.messages.csv" ] || [ "$f" = "$other" ] ||
        fail "$f: its message log (${f%.csv}.messages.csv) is needed: it holds each step's changes"
done
case $out in *.c) ;; *) fail "the test to write is C: name it OUT.c, not $out" ;; esac
name=$(basename "$out" .c)
[[ $name =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]] || fail "$out: the test's name ($name) must be a C name"
[ -d "$(dirname "$out")" ] && [ -w "$(dirname "$out")" ] || fail "cannot write $out: no such folder, or no permission"
[ -z "$release" ] || [ "$(id -u)" -eq 0 ] || fail "--on $release runs the test in a Debian root: run it as root"

[ -n "${DISPLAY:-}" ] || exec "$here/scripts/with-display.sh" "$0" ${release:+--on "$release"} "$@"
source "$here/scripts/wine-env.sh"
source "$here/scripts/delta-steps.sh"
arch=x86_64 build=win64
[ "$WINE_MODE" = win64 ] || arch=i686 build=win32
tool_exe=$here/build/$build/paint_transcript.exe
[ -f "$tool_exe" ] || fail "build/$build/paint_transcript.exe is missing: run make build first"
command -v "$arch-w64-mingw32-gcc" >/dev/null || fail "$arch-w64-mingw32-gcc is missing: run make build first"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/testlist.c" <<LIST
#include <windows.h>
#define STANDALONE
#include "wine/test.h"
extern void func_$name(void);
const struct test winetest_testlist[] = {{"$name", func_$name}, {0, 0}};
LIST

system_of() { sed -n '1,30s/^# system: //p' "$1" | head -n 1; }
expected_system=$(system_of "$ref") differing_system=$(system_of "$other")
# "wine-8.0 (Debian 8.0~repack-4)" as a recording names it: "Wine 8.0 (...)".
this_system=$("$WINE" --version 2>/dev/null | sed 's/^wine-/Wine /')
role_of() {
    [ "$expected_system" = "$differing_system" ] && { echo other; return; }
    case $1 in
        "$expected_system") echo expected ;;
        "$differing_system") echo differs ;;
        *) echo other ;;
    esac
}

# What one run gave, in words; succeeds where it is what that system's role
# asks: the step that differs failing alone where it differs, everything
# passing where it is expected.
judge() {
    local output=$1 status=$2 role=$3 step=$4 summary failed checks failures
    summary=$(grep -a -E "^$name: [0-9]+ tests executed" "$output" | tail -n 1)
    if [ -z "$summary" ]; then
        words="did not finish (status $status)"
        return 1
    fi
    checks=$(sed -E 's/^[^:]*: ([0-9]+) tests.*/\1/' <<<"$summary")
    failures=$(sed -E 's/.*, ([0-9]+) failures?\).*/\1/' <<<"$summary")
    if grep -q -a 'Tests skipped' "$output"; then
        words="skipped: $(sed -n 's/^[^:]*:[0-9]*: Tests skipped: //p' "$output" | head -n 1)"
        return 1
    fi
    failed=$(sed -n 's/^[^:]*:[0-9]*: Test failed: \(step [0-9]*\) .*/\1/p' "$output" | sort -u -k2n |
        paste -sd, - | sed 's/,/, /g')
    if [ "$failures" -eq 0 ]; then
        words="passes ($checks checks)"
        [ "$role" != differs ]
        return
    fi
    words="fails at $failed ($failures of $checks checks)"
    [ "$failed" = "step $step" ] && words="fails at step $step alone ($failures of $checks checks)"
    [ "$role" = differs ] && [ "$failed" = "step $step" ]
}

# trial STEP...: exports the test with those steps played before the one
# that differs, builds it and runs it on each system at hand; succeeds where
# each gave what its role asks, and where one of them differs.
step=0 gave= shown_somewhere=
trial() {
    local with=() verdict=0 differs_at_hand= status role
    [ $# -eq 0 ] || with=(--with-steps "$(
        IFS=,
        echo "$*"
    )")
    "$WINE" "$tool_exe" --export-test "$tmp/$name.c" "$ref" --against "$other" --name "$name" \
        "${with[@]}" >"$tmp/export.log" 2>&1 || { tr -d '\r' <"$tmp/export.log" >&2; exit 2; }
    step=$(sed -n 's|^    /\* step \([0-9]*\) .*: the step that differs \*/$|\1|p' "$tmp/$name.c")
    step=${step:-0}
    "$arch-w64-mingw32-gcc" -Wall -Wextra -I "$here/wine_test_standin" "$tmp/$name.c" \
        "$tmp/testlist.c" -o "$tmp/$name.exe" -lcomctl32 -lgdi32 >"$tmp/build.log" 2>&1 ||
        { cat "$tmp/build.log" >&2; fail "the test did not build (above)"; }
    gave=
    timeout 300 "$WINE" "$tmp/$name.exe" 2>/dev/null | tr -d '\r' >"$tmp/here.out"
    status=${PIPESTATUS[0]}
    role=$(role_of "$this_system")
    [ "$role" = differs ] && differs_at_hand=1
    judge "$tmp/here.out" "$status" "$role" "$step" || verdict=1
    gave+="$this_system: $words"$'\n'
    if [ -n "$release" ]; then
        timeout 600 "$here/scripts/record-on.sh" --run-test "$tmp/$name.exe" "$release" >"$tmp/release.out" 2>&1
        status=$?
        local there
        there=$(sed -n 's/^record-on: running .* under wine-/Wine /p' "$tmp/release.out")
        [ -n "$there" ] || { cat "$tmp/release.out" >&2; fail "the test did not run under $release's Wine (above)"; }
        role=$(role_of "$there")
        [ "$role" = differs ] && differs_at_hand=1
        judge "$tmp/release.out" "$status" "$role" "$step" || verdict=1
        gave+="$there: $words"$'\n'
    fi
    [ -z "$differs_at_hand" ] || shown_somewhere=1
    [ -n "$differs_at_hand" ] && [ "$verdict" -eq 0 ]
}

started=$SECONDS
if ! trial; then
    if [ -z "$shown_somewhere" ]; then
        # Nothing here differs: one run says what the expected system gives.
        runs=1 kept=()
    else
        reduce_runs=1
        candidates=()
        for ((n = 1; n < step; n++)); do candidates+=("$n"); done
        # The first try (none) was the one above.
        reduce_trial=trial
        if ! { [ ${#candidates[@]} -gt 0 ] && try_steps "${candidates[@]}"; }; then
            printf '%s' "$gave" | sed 's/^/  /' >&2
            fail "not shown even with every step before step $step played: not kept"
        fi
        fewest_steps "${candidates[@]}"
        runs=$reduce_runs kept=("${reduce_kept[@]}")
        [ ${#kept[@]} -eq 0 ] || trial "${kept[@]}" || fail "the steps kept no longer show it: not kept"
    fi
else
    runs=1 kept=()
fi
seconds=$((SECONDS - started))

# The file's comment says what each system gave, in place of "not yet".
{
    printf ' * Run before it was kept (scripts/smallest-test.sh, %s, %s s):\n' \
        "$runs $([ "$runs" = 1 ] && echo run || echo runs)" "$seconds"
    printf '%s' "$gave" | sed 's/^/ *   /'
    [ -n "$shown_somewhere" ] ||
        printf ' *   not run on %s, which differs: --on RELEASE runs it there\n' "$differing_system"
} >"$tmp/confirmed"
awk -v file="$tmp/confirmed" '
    /^ \* Run before it was kept: not yet/ { while ((getline line < file) > 0) print line; next }
    { print }' "$tmp/$name.c" >"$tmp/kept.c"
# Built again from the file kept, so that the lines its failures name are its own.
"$arch-w64-mingw32-gcc" -Wall -Wextra -I "$here/wine_test_standin" "$tmp/kept.c" "$tmp/testlist.c" \
    -o "$tmp/$name.exe" -lcomctl32 -lgdi32 || fail "the test kept did not build"
mv "$tmp/kept.c" "$out"
cp "$tmp/$name.exe" "${out%.c}.exe"
echo "smallest-test: wrote $out ($(wc -l <"$out") lines) and ${out%.c}.exe: $(sed -n 's/.*differs: //p' "$tmp/export.log" | tr -d '\r'); $runs $([ "$runs" = 1 ] && echo run || echo runs), $seconds s"
printf '%s' "$gave" | sed 's/^/  /'
