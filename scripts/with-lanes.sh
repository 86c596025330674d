#!/usr/bin/env bash
# Runs a command (the test suites) beside N lanes, each a private virtual X
# display and a copy of the project's Wine prefix with a wineserver of its
# own, so that suites that drive a desktop with real input run side by side,
# one at a time in each lane. A test names its lane in PAINTPROBE_LANE;
# scripts/wine-env.sh then puts it on that lane's display and prefix.
# usage: with-lanes.sh N COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
count=$1
shift
lanes=$(mktemp -d)
xvfbs=()
prefixes=()
cleanup() {
    local p
    for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done
    kill "${xvfbs[@]}" 2>/dev/null || true
    wait "${xvfbs[@]}" 2>/dev/null || true
    rm -rf "$lanes"
}
trap cleanup EXIT

start_lane() {
    local k=$1 prefix fdfile=$lanes/$1.fd
    prefix=$("$here/scripts/derive-prefix.sh" "lane$k" '')
    # In a session of its own, as with-display.sh's, so that Ctrl-C reaches
    # the tests first.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
    xvfbs+=($!)
    prefixes+=("$prefix")
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        kill -0 "${xvfbs[-1]}" 2>/dev/null || { echo "with-lanes: Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
    # A wineserver left from a run that was stopped serves no display now.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix wineserver -p
    printf 'lane_display=:%s\nlane_prefix=%s\nlane_base=%s\n' \
        "$(head -n1 "$fdfile")" "$prefix" "$PAINTPROBE_WINEPREFIX" >"$lanes/$k.env"
}
for k in $(seq "$count"); do start_lane "$k"; done
# Wine's own background processes started now, away from the tests' output
# pipes (a test runner would otherwise wait on them until its timeout).
starting=()
for k in $(seq "$count"); do
    (source "$lanes/$k.env"
     DISPLAY=$lane_display WINEPREFIX=$lane_prefix "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null) &
    starting+=($!)
done
wait "${starting[@]}" || true
export PAINTPROBE_LANES=$lanes
"$@"
