#!/usr/bin/env bash
# Writes the smallest test that shows where OTHER.csv paints otherwise than
# REFERENCE.csv (paint_transcript --export-test --against), and keeps it only
# once it has been built and run: built with mingw-w64 against the stand-in
# wine/test.h, run under this machine's Wine and, with --on RELEASE, under
# that Debian release's (scripts/record-on.sh --run-test; root). Where the
# state before the step that differs does not bring its paints on the system
# that differs, it tries the steps before it (--with-steps, delta debugging),
# and keeps the fewest that do. A try builds the test both ways (expecting
# OTHER's paints too, which must then fail where REFERENCE's pass) and runs
# each on every system at hand. The file's opening comment then says what
# each system gave, and how many tries it took.
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
    case $release in
        bullseye | bookworm | trixie | sid) ;;
        *) fail "--on takes a Debian release (bullseye, bookworm, trixie or sid), not \"$release\"; $usage" ;;
    esac
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

# build_test TEST.c TEST.exe: against the stand-in wine/test.h; where it
# fails, what the compiler said.
build_test() {
    "$arch-w64-mingw32-gcc" -Wall -Wextra -I "$here/wine_test_standin" "$1" "$tmp/testlist.c" \
        -o "$2" -lcomctl32 -lgdi32 >"$tmp/build.log" 2>&1 || { cat "$tmp/build.log" >&2; return 1; }
}

# The last try's files and words, as the one to keep so far.
remember_best() {
    rm -rf "$tmp/best" && cp -r "$tmp/kept" "$tmp/best" && best_gave=$gave best_reversed=$gave_reversed
}

system_of() { grep -m 1 -a '^# system: ' "$1" | sed 's/^# system: //; s/\r$//'; }
differing_system=$(system_of "$other")
# "wine-8.0 (Debian 8.0~repack-4)" as a recording names it: "Wine 8.0 (...)".
this_system=$("$WINE" --version 2>/dev/null | sed 's/^wine-/Wine /')
# role_of SYSTEM EXPECTED.csv DIFFERING.csv: what the test asks of it.
role_of() {
    local expected differing
    expected=$(system_of "$2") differing=$(system_of "$3")
    [ "$expected" = "$differing" ] && { echo other; return; }
    case $1 in
        "$expected") echo expected ;;
        "$differing") echo differs ;;
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

# one_way DIR EXPECTED DIFFERING STEP...: exports into DIR the test that
# expects EXPECTED's paints, those steps played before the one that differs,
# builds it and runs it on each system at hand; what each gave is in
# $said, and it succeeds where each gave what its role asks.
step=0 said= differs_at_hand= expected_at_hand=
one_way() {
    local dir=$1 expected=$2 differing=$3 verdict=0 status role there
    shift 3
    local with=()
    [ $# -eq 0 ] || with=(--with-steps "$(
        IFS=,
        echo "$*"
    )")
    [ -z "$leave_out" ] || with+=(--without "$leave_out")
    mkdir -p "$dir"
    "$WINE" "$tool_exe" --export-test "$dir/$name.c" "$expected" --against "$differing" \
        --name "$name" "${with[@]}" >"$dir/export.log" 2>&1 ||
        { tr -d '\r' <"$dir/export.log" >&2; exit 2; }
    step=$(sed -n 's|^    /\* step \([0-9]*\) .*: the step that differs \*/$|\1|p' "$dir/$name.c")
    step=${step:-0}
    build_test "$dir/$name.c" "$dir/$name.exe" || fail "the test did not build (above)"
    said=
    timeout 300 "$WINE" "$dir/$name.exe" 2>/dev/null | tr -d '\r' >"$dir/here.out"
    status=${PIPESTATUS[0]}
    role=$(role_of "$this_system" "$expected" "$differing")
    [ "$role" = differs ] && differs_at_hand=1
    [ "$role" = expected ] && expected_at_hand=1
    judge "$dir/here.out" "$status" "$role" "$step" || verdict=1
    said+="$this_system: $words"$'\n'
    if [ -n "$release" ]; then
        timeout 600 "$here/scripts/record-on.sh" --run-test "$dir/$name.exe" "$release" >"$dir/release.out" 2>&1
        status=$?
        there=$(sed -n 's/^record-on: running .* under wine-/Wine /p' "$dir/release.out")
        [ -n "$there" ] || { cat "$dir/release.out" >&2; fail "the test did not run under $release's Wine (above)"; }
        role=$(role_of "$there" "$expected" "$differing")
        [ "$role" = differs ] && differs_at_hand=1
        [ "$role" = expected ] && expected_at_hand=1
        judge "$dir/release.out" "$status" "$role" "$step" || verdict=1
        said+="$there: $words"$'\n'
    fi
    return "$verdict"
}

# trial STEP...: the test both ways, so that each system's own paints at
# the step are seen to come from the steps played, not only a failure
# there: expecting REFERENCE's, it fails at the step alone on the system
# that differs and passes on the expected one; expecting OTHER's, the other
# way round. Succeeds where all that holds, and one of them differs.
gave= shown_somewhere=
trial() {
    local verdict=0
    differs_at_hand= expected_at_hand=
    one_way "$tmp/kept" "$ref" "$other" "$@" || verdict=1
    gave=$said
    local forward=$differs_at_hand expected=$expected_at_hand
    one_way "$tmp/reversed" "$other" "$ref" "$@" || verdict=1
    gave_reversed=$said
    # Shown where the system that differs from the expected one is at hand.
    differs_at_hand=$forward expected_at_hand=$expected
    [ -z "$differs_at_hand" ] || shown_somewhere=1
    [ -n "$differs_at_hand" ] && [ "$verdict" -eq 0 ] || return 1
    remember_best  # the fewest that show it so far: what a stop keeps
}

# keep TRIES [WORDS]: the test of $tmp/best written to OUT.c, built again
# from it (so that the lines its failures name are its own), its comment
# saying what each system gave in place of "not yet".
keep() {
    local tries="$1 $([ "$1" = 1 ] && echo try || echo tries)" seconds=$((SECONDS - started))
    {
        printf ' * Run before it was kept (scripts/smallest-test.sh, %s, %s s%s):\n' \
            "$tries" "$seconds" "${2:+; $2}"
        printf '%s' "$best_gave" | sed 's/^/ *   /'
        [ -n "$shown_somewhere" ] ||
            printf ' *   not run on %s, which differs: --on RELEASE runs it there\n' "$differing_system"
    } >"$tmp/confirmed"
    awk -v file="$tmp/confirmed" '
        /^ \* Run before it was kept: not yet/ { while ((getline line < file) > 0) print line; next }
        { print }' "$tmp/best/$name.c" >"$tmp/kept.c"
    build_test "$tmp/kept.c" "$tmp/$name.exe" || fail "the test kept did not build (above)"
    mv "$tmp/kept.c" "$out"
    cp "$tmp/$name.exe" "${out%.c}.exe"
    echo "smallest-test: wrote $out ($(wc -l <"$out") lines) and ${out%.c}.exe: $(sed -n 's/.*differs: //p' "$tmp/best/export.log" | tr -d '\r'); $tries, $seconds s${2:+; $2}"
    printf '%s' "$best_gave" | sed 's/^/  /'
    echo "  and expecting $(system_of "$other")'s paints instead:"
    printf '%s' "$best_reversed" | sed 's/^/    /'
}

# Stopped (Ctrl-C) in the search: the fewest steps found by then are kept.
stopped() {
    trap - INT TERM
    if [ -d "$tmp/best" ] && [ "$reduce_runs" -gt 1 ]; then
        keep "$reduce_runs" "stopped in the search: the fewest steps found by then" >&2
    else
        echo "smallest-test: stopped before a try showed the difference: nothing written" >&2
    fi
    exit 130
}
trap stopped INT TERM

# trial_controls CONTROL...: a trial of the steps kept with only those of
# Form1's controls beside the list view.
trial_controls() {
    local c all=()
    for c in "${controls[@]}"; do [[ " $* " == *" $c "* ]] || all+=("$c"); done
    leave_out=$(
        IFS=,
        echo "${all[*]}"
    )
    trial "${steps_kept[@]}"
}

started=$SECONDS
reduce_runs=1 leave_out=
if trial; then
    steps_kept=()
elif [ -z "$shown_somewhere" ]; then
    # Nothing here differs: one run says what the expected system gives.
    remember_best
else
    candidates=()
    for ((n = 1; n < step; n++)); do candidates+=("$n"); done
    # The first try (none) was the one above.
    reduce_trial=trial
    if ! { [ ${#candidates[@]} -gt 0 ] && try_steps "${candidates[@]}"; }; then
        printf '%s' "$gave" | sed 's/^/  /' >&2
        fail "not shown even with every step before step $step played: not kept"
    fi
    fewest_steps "${candidates[@]}"
    steps_kept=("${reduce_kept[@]}")
fi
# Then the controls beside the list view, where both systems are at hand to
# say whether their paints need them (a test without them is no longer the
# recording's windows): none first, then the fewest.
mapfile -t controls < <(grep -a '^"\{0,1\}# window: ' "$ref" | sed 's/^"\{0,1\}# window: \([^ ]*\) .*/\1/' |
    grep -v -x -e Form1 -e ListView1)
if [ -n "$shown_somewhere" ] && [ -n "$expected_at_hand" ] && [ ${#controls[@]} -gt 0 ]; then
    reduce_trial=trial_controls
    try_steps || { [ ${#controls[@]} -gt 1 ] && fewest_steps "${controls[@]}"; } || true
fi
keep "$reduce_runs"
