#!/usr/bin/env bash
# Runs a command with a private virtual X display and one wineserver kept
# alive for its whole length, then takes both down again.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"

fdfile=$(mktemp)
# In a session of its own: Ctrl-C in the terminal reaches the whole process
# group, and a display gone at once would end the command before it could
# write what it has.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb=$!
ours=  # set once the wineserver is this run's own
cleanup() {
    # Another's (a recording still running in the prefix) is never ended.
    [ -z "$ours" ] || wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$fdfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=:$(head -n1 "$fdfile")
# One kept alive for the whole run. One already running for the prefix
# serves another display, where its programs show: a program that has just
# ended leaves it a few seconds, so it is waited for.
if ! wineserver -p 2>/dev/null; then
    timeout "${PAINTPROBE_WINESERVER_WAIT:-30}" wineserver -w 2>/dev/null || true
    wineserver -p 2>/dev/null || {
        echo "with-display: Wine programs still run in $WINEPREFIX, on another display; end them (WINEPREFIX=$WINEPREFIX wineserver -k), then run this again" >&2
        exit 1
    }
fi
ours=1
# Start Wine's own background processes now, away from the command's output
# pipes: a test runner would otherwise wait on them until its timeout.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
"$@"
