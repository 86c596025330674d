#!/usr/bin/env bash
# make run on a person's display: where a window manager runs, Form1 is a
# window of that desktop, managed by it; on a display with none, it stands
# inside a Wine desktop, where its edges can still be dragged. On both, the
# transcript tool makes a Wine desktop of its own for its scenario, as the
# README has it; told to stay on this desktop, it drags nothing, and says so.
# With the window manager, make run records by hand what a person does: a
# drag of the bottom edge through the window manager (X input), then Alt+F4;
# the scenario it saves plays the same paints again.
# Runs in a prefix of its own (with-dpi.sh 96), on a display of its own.
# usage: run_on_desktop_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
source "$here/tests/support/check.sh"
tool=$1
tmp=$(mktemp -d)
# The prefix without Wine's desktop, as make run makes it where a window
# manager runs.
desktop=$("$here/scripts/derive-prefix.sh" desktop '/^"Desktop"="Default"$/d')
pids=()
trap 'WINEPREFIX=$desktop wineserver -k 2>/dev/null; wineserver -k 2>/dev/null; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$tmp/display")

# Starts make run's script and waits for Form1's X window; notes whether a
# window manager manages it and how many Wine desktops there are; then ends
# the program.
run() {
    "$here/scripts/run.sh" >"$tmp/run.log" 2>&1 &
    local id="" _
    # Up to two minutes: on a fresh machine, the first start sets up Wine's
    # prefix while other suites run beside it.
    for _ in $(seq 1200); do
        id=$(xwininfo -root -tree 2>/dev/null | awk '/"Form1": \("paintprobe.exe"/ { print $1; exit }')
        [ -n "$id" ] && break
        sleep 0.1
    done
    # A window manager takes a new window a moment after it is mapped.
    state=unmanaged
    local tries=1
    [ "${wm:-none}" = up ] && tries=100
    for _ in $(seq "$tries"); do
        xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'window state' && state=managed && break
        sleep 0.1
    done
    [ -n "$id" ] || state="no Form1 window"
    desktops=$(xwininfo -root -tree | grep -c 'Wine desktop"')
    WINEPREFIX=$desktop wineserver -k 2>/dev/null
    wineserver -k 2>/dev/null
    wait $! 2>/dev/null
    for _ in $(seq 100); do  # until Wine's windows have gone from the display
        xwininfo -root -tree | grep -q '"Form1"\|Wine desktop"' || break
        sleep 0.1
    done
}

# The tool's default drag, in the prefix without Wine's desktop, told to
# stay on this one: nothing here takes its input to size the window.
nowhere() {  # nowhere WHERE [ARGS...]
    local status
    WINEPREFIX=$desktop timeout 90 "$WINE" "$tool" --quiet --on-this-desktop "${@:2}" \
        >/dev/null 2>"$tmp/nowhere.err"
    status=$?
    WINEPREFIX=$desktop wineserver -k 2>/dev/null
    check "$1: the tool's drag into nothing: status" 4 "$status"
    grep -q '^paint_transcript: cut short at step 1, drag bottom +10: ' "$tmp/nowhere.err" &&
        grep -q 'leave out --on-this-desktop' "$tmp/nowhere.err" ||
        fail "$1: the tool says its drag went nowhere, and where to run it: $(cat "$tmp/nowhere.err")"
}
# The same as the README has it: the tool makes a Wine desktop of its own,
# and the drag paints as it does in the project's prefix. The reference is docs/'s, as the
# README's command checks it.
own() {  # own WHERE
    local status
    WINEPREFIX=$desktop timeout 90 "$WINE" "$tool" --quiet --check "$here/docs/transcript-wine.csv" \
        >"$tmp/own.out" 2>&1
    status=$?
    check "$1: as written, in a desktop of its own: status ($(cat "$tmp/own.out"))" 0 "$status"
    grep -q '^desktop: a Wine virtual desktop of its own' "$tmp/own.out" ||
        fail "$1: the tool says it made a desktop of its own: $(cat "$tmp/own.out")"
    WINEPREFIX=$desktop wineserver -k 2>/dev/null
}

# The self-test, where it runs: its lines, and a status that says whether
# every need held.
self_test() {  # self_test WHERE STATUS PREFIX [ARGS...]
    local status
    WINEPREFIX=$3 timeout 60 "$WINE" "$tool" --self-test "${@:4}" >"$tmp/self.out" 2>&1
    status=$?
    check "$1: self-test: status ($(cat "$tmp/self.out"))" "$2" "$status"
    WINEPREFIX=$3 wineserver -k 2>/dev/null
    unix "$tmp/self.out"
    check "$1: self-test: a line a need" "desktop;the start;the front;input;colours;" \
        "$(sed -n 's/^\(ok\|FAILED\)  *\([a-z ]*\):.*/\2/p' "$tmp/self.out" | tr '\n' ';')"
}
self_test "the project's desktop" 0 "$WINEPREFIX"
grep -qx 'ok      desktop: a Wine virtual desktop, where the tool.s input sizes Form1' "$tmp/self.out" &&
    grep -q '^ok      the start: the hook was on before Form1 was made' "$tmp/self.out" &&
    grep -qx 'self-test: all 5 needs hold' "$tmp/self.out" &&
    grep -Eqx '  screen: [0-9]+x[0-9]+ with work area -?[0-9]+,-?[0-9]+,[0-9]+,[0-9]+' "$tmp/self.out" ||
    fail "the project's desktop: self-test: all held, the screen as the program saw it: $(cat "$tmp/self.out")"
# Kept beside a transcript, a bug report made of it holds it.
cp "$here/docs/transcript-wine.csv" "$tmp/a.csv"
cp "$here/tests/data/transcript-one-row-moved.csv" "$tmp/b.csv"
self_test "kept for a report" 0 "$WINEPREFIX" --self-test-file "$tmp/b.self-test.txt"
check "kept for a report: the file as said" "$(cat "$tmp/self.out")" "$(cat "$tmp/b.self-test.txt")"
"$WINE" "$tool" --compare "$tmp/a.csv" "$tmp/b.csv" --bug-report "$tmp/bug.md" >/dev/null
grep -q '^## Self-test on ' "$tmp/bug.md" && grep -qx 'self-test: all 5 needs hold' "$tmp/bug.md" ||
    fail "kept for a report: in the bug report: $(cat "$tmp/bug.md")"

run
check "no window manager: Form1 not managed" unmanaged "$state"
check "no window manager: inside a Wine desktop" 1 "$desktops"
nowhere "no window manager"
own "no window manager"
self_test "no window manager" 0 "$desktop"
grep -qx "ok      desktop: a Wine virtual desktop of the tool's own, 1280 x 1024 (as every recording whose steps a frame takes)" \
    "$tmp/self.out" &&
    grep -qx "  screen: 1280x1024 (a Wine desktop of the tool's own) with work area 0,0,1280,1024" "$tmp/self.out" ||
    fail "no window manager: self-test: a desktop of its own, and its screen: $(cat "$tmp/self.out")"

openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
wm=none
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && wm=up && break
    sleep 0.1
done
check "a window manager came up (openbox: $(tr '\n' ' ' <"$tmp/openbox.log"))" up "$wm"
run
check "window manager: Form1 managed by it" managed "$state"
check "window manager: no Wine desktop" 0 "$desktops"
check "window manager: make run says so" \
    "run: on display $DISPLAY, as a window of its desktop (close it to end)" \
    "$(sed -n 2p "$tmp/run.log")"
nowhere "window manager"
own "window manager"
# Told to stay where the window manager takes the input: the need named,
# with what to do, and a status that says a need failed.
self_test "window manager" 7 "$desktop" --on-this-desktop
grep -q '^FAILED  input: a drag of Form1.s bottom edge by +10 pixels did not resize Form1' "$tmp/self.out" &&
    grep -q '^        what to do: leave out --on-this-desktop' "$tmp/self.out" &&
    grep -q '^self-test: 4 of 5 needs hold; ' "$tmp/self.out" ||
    fail "window manager: self-test: input named: $(cat "$tmp/self.out")"
# What the window manager takes, played from outside: it reaches Form1.
printf 'room above 150\ndrag bottom +10 x2\nmaximize button\nrestore button\n' >"$tmp/wm.scenario"
WINEPREFIX=$desktop timeout 90 \
    "$WINE" "$tool" --quiet --scenario-file "$tmp/wm.scenario" --from-outside --csv "$tmp/wm.csv" \
    >/dev/null 2>"$tmp/wm.err"
status=$?
check "window manager, from outside: status ($(cat "$tmp/wm.err"))" 0 "$status"
check "window manager, from outside: a step each move and state, each painting" \
    "start;resize bottom +10 from outside;resize bottom +10 from outside;maximize from outside;" \
    "$(awk -F, '/^[0-9]/ && $12 != "\"\"" { printf "%s;", $2 }' "$tmp/wm.csv")"
grep -q '^1,move down 150 from outside,[0-9]*,Form1,sent,WM_WINDOWPOSCHANGED,' "$tmp/wm.messages.csv" ||
    fail "window manager, from outside: room made above: Form1 moved down by 150"
# Again with a Form1 left open, which the window manager places the new one
# beside, and a reference to check against: still status 4, and the advice.
WINEPREFIX=$desktop "$WINE" "$(dirname "$tool")/paintprobe.exe" >/dev/null 2>&1 &
for _ in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Form1": ("paintprobe.exe"' && break
    sleep 0.1
done
nowhere "window manager, a Form1 left open" --check "$here/docs/transcript-wine.csv"

PAINTPROBE_RECORDINGS=$tmp/hand "$here/scripts/run.sh" >"$tmp/hand.log" 2>&1 &
runner=$!
id=""
for _ in $(seq 300); do
    id=$(xwininfo -root -tree 2>/dev/null | awk '/"Form1": \("paintprobe.exe"/ { print $1; exit }')
    [ -n "$id" ] && grep -q '^run: by hand: recording' "$tmp/hand.log" && break
    sleep 0.1
done
frame=$(xwininfo -id "$id" -tree | awk '/Parent window id/ { print $4 }')
read -r x y < <(xwininfo -id "$frame" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                            /Width/ { w = $2 } /Height/ { h = $2 } END { print x + int(w / 2), y + h - 1 }')
xdotool mousemove "$x" "$y" sleep 0.3 mousedown 1 sleep 0.3
for k in 1 2 3 4 5; do xdotool mousemove "$x" $((y + 10 * k)) sleep 0.3; done
xdotool mouseup 1 sleep 1
xdotool windowactivate --sync "$id" key alt+F4
wait "$runner"
check "by hand: make run ends when Form1 is closed" 0 "$?"
grep -q '^run: [1-9][0-9]* paints in [1-9][0-9]* steps\? recorded by hand$' "$tmp/hand.log" &&
    grep -q "^run: written: $tmp/hand/by-hand.scenario$" "$tmp/hand.log" ||
    fail "by hand: make run says what it recorded and where: $(cat "$tmp/hand.log")"
steps=$(grep -v '^#' "$tmp/hand/by-hand.scenario")
check "by hand: the window manager's drag, step by step from outside" "" \
    "$(grep -v '^resize bottom +[0-9]* from outside$' <<<"$steps")"
check "by hand: every paint a WM_PAINT row of its message log" "$(grep -c '^[0-9]' "$tmp/hand/by-hand.csv")" \
    "$(grep -Ec '^[0-9]*,[^,]*,[0-9]*,ListView1,(posted|sent),WM_PAINT,' "$tmp/hand/by-hand.messages.csv")"
check "by hand: by 50 pixels in all" 50 "$(sed 's/^resize bottom +\([0-9]*\).*/\1/' <<<"$steps" | awk '{ s += $0 } END { print s }')"
WINEPREFIX=$desktop timeout 60 "$WINE" "$tool" --quiet --scenario-file "$tmp/hand/by-hand.scenario" \
    --csv "$tmp/replay.csv" >/dev/null
check "by hand: its scenario replayed" 0 "$?"
WINEPREFIX=$desktop "$WINE" "$tool" --compare "$tmp/hand/by-hand.csv" "$tmp/replay.csv" >"$tmp/compare.txt"
check "by hand: the replay's paints alike (compare exits 0)" 0 "$?"
WINEPREFIX=$desktop wineserver -k 2>/dev/null

# No display at all: said in one line, with what to do, before anything runs.
env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$desktop" timeout 60 "$WINE" "$tool" --quiet \
    >/dev/null 2>"$tmp/nodisplay.err"
check "no display: status" 3 "$?"
check "no display: one line" 1 "$(grep -c . "$tmp/nodisplay.err")"
grep -q '^paint_transcript: no display: DISPLAY is not set.*scripts/record.sh' "$tmp/nodisplay.err" ||
    fail "no display: says so, and what to do: $(cat "$tmp/nodisplay.err")"
WINEPREFIX=$desktop wineserver -k 2>/dev/null
finish
