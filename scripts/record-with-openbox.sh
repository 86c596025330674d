#!/usr/bin/env bash
# Records a scenario under this machine's Wine with Form1 a window of a
# desktop that a window manager runs (Openbox, on a display of its own, in a
# copy of the prefix without Wine's virtual desktop). What the window manager
# takes (drags of the frame, caption buttons, moves by the caption) reaches
# Form1 only from outside, so it is played from outside (--from-outside).
# Writes docs/transcript-wine<version>-openbox-<scenario>.csv, or OUT.csv,
# with its message log; the transcript names its system "Wine X under Openbox".
# Not part of `make test`.
# usage: scripts/record-with-openbox.sh [SCENARIO [OUT.csv]]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
scenario=${1:-all}
fail() {
    printf 'record-with-openbox: %s\n' "$@" >&2
    exit 1
}
case $scenario in
    drag | right | corner | top | grow | narrow | maxrestore | all) ;;
    *) fail "there is no scenario \"$scenario\"; there are drag, right, corner, top, grow, narrow, maxrestore and all" ;;
esac
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run make setup first"
done
tool=$PAINTPROBE_BUILD/paint_transcript.exe
[ -f "$tool" ] || fail "${tool#"$here"/} is missing: run make build first"
version=$("$WINE" --version 2>/dev/null | sed -n 's/^wine-\([0-9]*\.[0-9]*\).*/\1/p')
[ -n "$version" ] || fail "$WINE does not say its version"
out=${2:-$here/docs/transcript-wine$version-openbox-$scenario.csv}

# On a display of its own (with-display.sh), with Openbox on it.
if [ -z "${PAINTPROBE_OPENBOX_DISPLAY:-}" ]; then
    PAINTPROBE_OPENBOX_DISPLAY=1 exec "$here/scripts/with-display.sh" "$0" "$scenario" "$out"
fi
prefix=$("$here/scripts/derive-prefix.sh" desktop '/^"Desktop"="Default"$/d')
log=$(mktemp)
openbox >"$log" 2>&1 &
wm=$!
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; kill $wm 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    fail "openbox did not come up: $(tr '\n' ' ' <"$log")"

echo "record-with-openbox: $scenario under Wine $version and Openbox, from outside"
status=0
WINEPREFIX=$prefix "$WINE" "$tool" --scenario "$scenario" --from-outside --csv "$out" || status=$?
[ -f "$out" ] || fail "no transcript written (status $status)"
sed -i 's/^# system: \(.*\)$/# system: \1 under Openbox/' "$out"
echo "record-with-openbox: written ${out#"$here"/} (status $status)"
exit "$status"
