#!/usr/bin/env bash
# The transcript tool when the program misbehaves, and every exit status as a
# script reads it: the program killed or stopped in the middle of a scenario,
# a recording that fills up, a second recording while one runs; each ends
# within seconds, says what happened, keeps the rows so far marked as cut
# short, and has a status of its own.
# usage: faults_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
source "$here/tests/support/check.sh"
tool=$1
tmp=$(mktemp -d)
run() { timeout 60 "$WINE" "$tool" "$@"; }

# The program of this prefix (others may run beside this test), as Linux sees it.
program() {
    local p
    for p in $(pgrep -x paintprobe.exe); do
        { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done
}
trap 'xdotool keyup shift 2>/dev/null; kill -CONT $(program) 2>/dev/null; kill -KILL $(program) 2>/dev/null; rm -rf "$tmp"' EXIT

# Once the scenario is under way (the CSV the tool keeps after each step
# holds three paints: the start's and two of the first drag), sends the
# program a signal; never where it did not get that far (then the status
# checked after says so), so that no later case's program gets it.
signal_later() {  # signal_later SIGNAL CSV
    (
        for _ in $(seq 1200); do
            rows=$(grep -c '^[0-9]' "$2" 2>/dev/null)
            if [ "${rows:-0}" -ge 3 ]; then
                kill "-$1" $(program)
                exit
            fi
            sleep 0.05
        done
    ) &
}

# docs/'s reference, which the replay suite keeps current: a fault's run
# differs from it only by what the fault does.
reference=$here/docs/transcript-wine.csv
moved=$here/tests/data/transcript-one-row-moved.csv
for c in "0 --help" "0 --compare $reference $reference" \
         "1 --compare $reference $moved" "2 --compare $reference $tmp/none.csv" \
         "0 --compare $reference $reference $reference" "1 --compare $reference $reference $moved" \
         "2 --compare $reference $reference $tmp/none.csv"; do
    run ${c#* } >/dev/null 2>&1
    check "status of ${c#* }" "${c%% *}" "$?"
done

# A person's mistake is named in one line, with where the usage is, before
# anything is started or written; a recording by hand would otherwise wait
# for a whole session first. (Every mistake of the command line itself is
# in the native table of options; these are the tool's own, end to end.)
mistake() {  # mistake WORDS ARGS...
    local words=$1
    shift
    run "$@" >"$tmp/mistake.out" 2>"$tmp/mistake.err"
    check "$*: status" 2 "$?"
    unix "$tmp/mistake.err"
    check "$*: says what was wrong" "paint_transcript: $words" "$(head -n 1 "$tmp/mistake.err")"
    check "$*: nothing else printed, nothing started" "0 " "$(wc -c <"$tmp/mistake.out") $(program)"
}
printf 'drag bottom +10\ndrag bottom +10 x0\n' >"$tmp/bad.scenario"
cp "$reference" "$tmp/again.csv"
mistake 'there is no option "--bogus"' --bogus
mistake 'there is no scenario "nosuch"; there are drag, right, corner, top, grow, narrow, maxrestore, and all' \
    --scenario nosuch
mistake '--steps does not apply to scenario grow: it has no drags' --scenario grow --steps 3
mistake '--pixels does not apply to --by-hand' --by-hand --pixels 3
mistake "$tmp/bad.scenario: line 2: expected a repeat count from x1 to x1000, found \"drag bottom +10 x0\"" \
    --scenario-file "$tmp/bad.scenario"
mistake "--html $tmp/again.csv would overwrite the file it reads (--from)" --from "$tmp/again.csv" \
    --html "$tmp/again.csv"
cmp -s "$reference" "$tmp/again.csv" || fail "--from: the transcript it reads is as it was"
mistake "cannot write /nonexistent/h.csv: no such folder, or no permission" --by-hand --csv /nonexistent/h.csv
mistake "cannot read $tmp/none.csv" --check "$tmp/none.csv"
printf '# nothing but a comment\n\n' >"$tmp/empty.scenario"
mistake "$tmp/empty.scenario: no steps in it; a scenario needs a line at least (paint_transcript --list-scenarios shows some)" \
    --scenario-file "$tmp/empty.scenario"
mistake "the scenario and $reference part at step 1: the scenario has \"double-click list\", $reference \"drag bottom +10\"" \
    --scenario grow --check "$reference"
mistake "--csv and --html name the same file, $tmp/x" --csv "$tmp/x" --html "$tmp/x"
[ ! -e "$tmp/x" ] || fail "a file only checked is not left behind"

# --check as a script reads it: 0 the same paints, 1 a paint differs, said
# row by row as the reference and this run.
run --quiet --check "$reference" >"$tmp/check.out" 2>&1
check "--check against the same: status" 0 "$?"
run --quiet --check "$moved" >"$tmp/check.out" 2>&1
check "--check against another: status" 1 "$?"
unix "$tmp/check.out"
grep -q '^row 5: reference: step 5 drag bottom +10, .*reported 0,377,270,388' "$tmp/check.out" &&
    grep -q '^       this run: step 5 drag bottom +10, .*reported 0,378,270,388' "$tmp/check.out" &&
    grep -q "^this run against the reference $moved: DIFFERENT$" "$tmp/check.out" ||
    fail "--check says which paint differs, in the reference and in this run: $(cat "$tmp/check.out")"

# Runs a scenario cut short; checks the status, the words, and what was kept.
cut_short() {  # cut_short NAME STATUS WORDS ARGS...
    local name=$1 status=$2 words=$3
    shift 3
    run --quiet --csv "$tmp/$name.csv" --html "$tmp/$name.html" "$@" >"$tmp/$name.out" 2>"$tmp/$name.err"
    check "$name: status" "$status" "$?"
    unix "$tmp/$name.out" "$tmp/$name.err"
    grep -q "^paint_transcript: cut short at step [0-9]*, [a-z].*: $words" "$tmp/$name.err" ||
        fail "$name: says what happened: $(cat "$tmp/$name.err")"
    local seen rows
    seen=$(sed -n 's/^\([0-9]*\) paints seen by the hook before it was cut short$/\1/p' "$tmp/$name.out")
    rows=$(grep -c '^[0-9]' "$tmp/$name.csv")
    check "$name: every row seen is in the CSV" "$seen" "$rows"
    check "$name: the CSV says it was cut short" "\"# cut short: $(sed -n 's/^paint_transcript: cut short at //p' "$tmp/$name.err")\"" \
        "$(tail -n 1 "$tmp/$name.csv")"
    grep -q '<p class="cut">cut short: step' "$tmp/$name.html" || fail "$name: the report says it was cut short"
    [ "$rows" -gt 0 ] || fail "$name: rows recorded before the fault"
    # The message log too: kept to the fault, and marked so.
    check "$name: the message log says it was cut short" "$(tail -n 1 "$tmp/$name.csv")" \
        "$(tail -n 1 "$tmp/$name.messages.csv")"
    [ "$(grep -Ec ',ListView1,(posted|sent),WM_PAINT,' "$tmp/$name.messages.csv")" -ge "$rows" ] ||
        fail "$name: every paint kept is in the message log"
}

signal_later TERM "$tmp/killed.csv"
cut_short killed 3 "paintprobe.exe was killed from outside, without exiting (a signal" --scenario all --check "$here/docs/transcript-wine-all.csv"
signal_later STOP "$tmp/stopped.csv"
cut_short stopped 3 "paintprobe.exe is not answering" --scenario all
kill -KILL $(program) 2>/dev/null
cut_short full 3 "the recording is full: it holds 4 paints" --max-paints 4
check "full: the first 4 paints" 4 "$(grep -c '^[0-9]' "$tmp/full.csv")"
# A message log that fills says so, and the recording goes on.
run --quiet --scenario grow --csv "$tmp/log.csv" --max-messages 20 >/dev/null 2>"$tmp/log.err"
check "message log full: status" 0 "$?"
unix "$tmp/log.err"
grep -q '^paint_transcript: the message log is full: the log holds 20 messages; those after step [0-9]* were not logged$' \
    "$tmp/log.err" || fail "message log full: says so: $(cat "$tmp/log.err")"
check "message log full: 20 rows, then the word" "20 \"# full: $(sed -n 's/.*is full: //p' "$tmp/log.err")\"" \
    "$(grep -c '^[0-9]' "$tmp/log.messages.csv") $(tail -n 1 "$tmp/log.messages.csv")"

# A drag past the desktop's edge, which the system would stop there, is
# named as such: foretold before the first step where the scenario's drags
# tell it, else at the step, with the desktop's size and what to do.
past="the drag would take Form1's edge past the bottom of the desktop, which is 1280 x 1024 (the cursor to [0-9]*,[0-9]*); give fewer or smaller moves (--steps, --pixels), or record on a larger desktop"
run --quiet --steps 100 --pixels 100 --csv "$tmp/far.csv" >"$tmp/far.out" 2>"$tmp/far.err"
check "too far, foretold: status" 2 "$?"
unix "$tmp/far.err"
grep -qx "paint_transcript: step 7, drag bottom +100: $past" "$tmp/far.err" ||
    fail "too far, foretold: named before the first step: $(cat "$tmp/far.err")"
[ ! -e "$tmp/far.csv" ] || fail "too far, foretold: nothing recorded"
printf 'maximize from outside\nrestore from outside\ndrag bottom +300 x4\n' >"$tmp/far.scenario"
run --quiet --scenario-file "$tmp/far.scenario" --csv "$tmp/far.csv" >"$tmp/far.out" 2>"$tmp/far.err"
check "too far, at the step: status" 2 "$?"
unix "$tmp/far.err"
grep -qx "paint_transcript: cut short at step 5, drag bottom +300: $past" "$tmp/far.err" ||
    fail "too far, at the step: named there: $(cat "$tmp/far.err")"
check "too far, at the step: the CSV says so" "\"# cut short: $(sed -n 's/^paint_transcript: cut short at //p' "$tmp/far.err")\"" \
    "$(tail -n 1 "$tmp/far.csv")"

# A key a person holds down as the tool is to press (a Shift-press is
# another gesture): named, and nothing pressed.
xdotool keydown shift
run --quiet --csv "$tmp/held.csv" >/dev/null 2>"$tmp/held.err"
status=$?
xdotool keyup shift
check "a key held: status" 4 "$status"
unix "$tmp/held.err"
grep -q '^paint_transcript: cut short at step 1, drag bottom +10: Shift is held down, which would change what the press does: leave the mouse and keys alone' \
    "$tmp/held.err" || fail "a key held: named: $(cat "$tmp/held.err")"

# A Wine desktop larger than the display beneath it (1400 x 1050 on a
# display of 1280 x 1024): the cursor stops at the display's edge, which is
# named, not blamed on a window manager.
big=$("$here/scripts/derive-prefix.sh" big-desktop 's/^"Default"="1280x1024"/"Default"="1400x1050"/')
WINEPREFIX=$big timeout 60 "$WINE" "$tool" --quiet --scenario maxrestore --csv "$tmp/big.csv" \
    >"$tmp/big.out" 2>"$tmp/big.err"
check "a desktop larger than its display: status" 2 "$?"
unix "$tmp/big.err"
grep -q "^paint_transcript: cut short at step 2, restore button: the cursor stops at 1279,[0-9]* short of [0-9]*,[0-9]*, inside a desktop of 1400 x 1050: the display beneath Wine's desktop is smaller than it" "$tmp/big.err" &&
    ! grep -q "window manager" "$tmp/big.err" ||
    fail "a desktop larger than its display: named: $(cat "$tmp/big.err")"
WINEPREFIX=$big wineserver -k 2>/dev/null

# The tool itself stopped half-way through `all`: Ctrl-C in its terminal
# (SIGINT to its whole process group), SIGINT to it alone, SIGTERM, which
# Wine ends it on without a word, and the session ending. All but SIGTERM
# write every row and message so far, end in the cut-short line and status
# 6; SIGTERM leaves what the tool had kept as its last step ended. No
# program is left.
stopped_half_way() {  # stopped_half_way NAME SIGNAL group|tool|session [REASON]
    local name=$1 signal=$2 whom=$3 reason=${4:-} leader status rows
    # A session of its own: its process group is the tool's, as a terminal's is.
    setsid "$WINE" "$tool" --quiet --scenario all --csv "$tmp/$name.csv" >"$tmp/$name.out" \
        2>"$tmp/$name.err" </dev/null &
    leader=$!
    # Under way: as each step ends, the tool keeps what it has; 5 rows kept.
    for _ in $(seq 1200); do
        rows=$(grep -cs '^[0-9]' "$tmp/$name.csv")
        [ "${rows:-0}" -ge 5 ] && break
        sleep 0.05
    done
    if [ "$whom" = group ]; then
        kill "-$signal" -- "-$leader"
    elif [ "$whom" = session ]; then  # its windows asked, as at a log-off
        timeout 60 "$WINE" wineboot --end-session
    else  # the tool's own process: where Wine starts it through start.exe, not the leader
        whom=$(ps -o pid=,args= -g "$leader" | awk '$2 ~ /paint_transcript\.exe$/ { print $1 }')
        kill "-$signal" "$whom"
    fi
    wait "$leader"
    status=$?
    unix "$tmp/$name.out" "$tmp/$name.err" "$tmp/$name.csv"
    for _ in $(seq 100); do [ -z "$(program)" ] && break; sleep 0.05; done
    check "$name: no program left" "" "$(program)"
    # (A SIGTERM that falls while the tool keeps its files may leave a
    # FILE.part beside them, which the next recording of that name replaces;
    # the files themselves are whole, as below.)
    local last
    rows=$(grep -c '^[0-9]' "$tmp/$name.csv")
    last=$(tail -n 1 "$tmp/$name.csv")
    check "$name: the message log ends as the CSV does" "$last" "$(tail -n 1 "$tmp/$name.messages.csv" | tr -d '\r')"
    [ "$rows" -ge 5 ] || fail "$name: the rows so far kept ($rows)"
    if [ "$signal" = TERM ]; then
        # Through start.exe, the status is the exit code Wine gives a
        # process a signal ended, 0.
        check "$name: status" "$([ "$whom" = "$leader" ] && echo 143 || echo 0)" "$status"
        [[ $last == '"# cut short: interrupted after step '[0-9]*', '[a-z]*': paint_transcript was ended there, before it wrote more'* ]] ||
            fail "$name: the CSV says where it was kept: $last"
        return
    fi
    # A session that ends may end the tool as soon as its files are written,
    # before it exits with its status (wineboot then gives it 0).
    [ "$whom" = session ] && [ "$status" = 0 ] && status=6
    check "$name: status" 6 "$status"
    local said
    said=$(sed -n "s/^paint_transcript: \\(interrupted at step [0-9]*, [a-z].*: $reason\\); what was recorded up to then is written, marked so$/\\1/p" "$tmp/$name.err")
    [ -n "$said" ] || fail "$name: says it was interrupted, and where: $(cat "$tmp/$name.err")"
    check "$name: the CSV says so" "\"# cut short: $said\"" "$last"
    check "$name: every row seen is in the CSV" \
        "$(sed -n 's/^\([0-9]*\) paints seen by the hook before it was cut short$/\1/p' "$tmp/$name.out")" "$rows"
}
stopped_half_way ctrl-c INT group 'Ctrl-C (or SIGINT)'
stopped_half_way sigint INT tool 'Ctrl-C (or SIGINT)'
stopped_half_way sigterm TERM tool
# The session ending (a log-off): its windows are asked, the tool's among them.
stopped_half_way session - session 'the session is ending (log-off or shutdown)'

# By hand, Ctrl-C in the terminal as the person works: the rows, the log and
# the scenario so far are written, the files marked, and the program ended.
setsid "$WINE" "$tool" --by-hand --csv "$tmp/hand.csv" --save-scenario "$tmp/hand.scenario" \
    >"$tmp/hand.out" 2>"$tmp/hand.err" </dev/null &
leader=$!
for _ in $(seq 1200); do grep -q '^by hand: recording' "$tmp/hand.out" && break; sleep 0.05; done
kill -INT -- "-$leader"
wait "$leader"
check "by hand, Ctrl-C: status" 6 "$?"
unix "$tmp/hand.err"
check "by hand, Ctrl-C: said" "paint_transcript: cut short: interrupted at step 0: Ctrl-C (or SIGINT)" \
    "$(tail -n 1 "$tmp/hand.err")"
cut='# cut short: interrupted at step 0: Ctrl-C (or SIGINT)'
check "by hand, Ctrl-C: the CSV says so" "$cut" "$(tail -n 1 "$tmp/hand.csv")"
check "by hand, Ctrl-C: the log says so" "$cut" "$(tail -n 1 "$tmp/hand.messages.csv" | tr -d '\r')"
check "by hand, Ctrl-C: the start's paint kept" 1 "$(grep -c '^0,start,' "$tmp/hand.csv")"
[ -s "$tmp/hand.scenario" ] || fail "by hand, Ctrl-C: the scenario so far written"
for _ in $(seq 100); do [ -z "$(program)" ] && break; sleep 0.05; done
check "by hand, Ctrl-C: no program left" "" "$(program)"

# A second recording while one runs is refused at once; the first goes on.
run --quiet --scenario grow >"$tmp/first.out" 2>&1 &
first=$!
for _ in $(seq 100); do [ -n "$(program)" ] && break; sleep 0.1; done
run --quiet >/dev/null 2>"$tmp/second.err"
check "second recording: status" 5 "$?"
unix "$tmp/second.err"
check "second recording: says why" \
    "paint_transcript: another paint_transcript is recording in this session; two at once would mix their mouse input. Wait for it to end." \
    "$(cat "$tmp/second.err")"
wait "$first"
check "first recording: unharmed" 0 "$?"
finish
