#!/usr/bin/env bash
# Makes the pictures in docs/ anew with the build that runs here:
#   form1-scales.png            Form1 after the default drag at 100 % and at
#                               150 % display scale, side by side;
#   compare-wine8-wine10.html   the Wine 8.0 and Wine 10.0 transcripts of
#   compare-wine8-wine10.png    every scenario compared: the page, and its
#                               top and the first paint that differs;
#   report-by-hand.png          the report of docs/transcript-by-hand.csv;
#   matrix-wine.html            Wine 5.0, 8.0 (in its desktop and under
#                               Openbox) and 10.0 (trixie's and sid's)
#   matrix-wine.png             side by side: the page, and its top;
#   bug-report-wine8-wine10.md  Wine 10.0's difference from Wine 8.0, as a
#                               bug tracker is given it.
# usage: scripts/docs-images.sh (after make build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
build=$PAINTPROBE_BUILD
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$here"

shoot() {  # DPI OUT.png: Form1 after the default drag at that scale
    local scale=()
    [ "$1" = 96 ] || scale=(tests/with-dpi.sh "$1")
    scripts/with-display.sh "${scale[@]}" "$WINE" "$build/paint_transcript.exe" --quiet \
        --screenshot "$tmp/$1.bmp" >/dev/null
    convert "$tmp/$1.bmp" "$2"
}
shoot 96 "$tmp/96.png"
shoot 144 "$tmp/144.png"
convert "$tmp/96.png" -background white -gravity east -splice 24x0 "$tmp/144.png" \
    -gravity north +append docs/form1-scales.png

page=docs/compare-wine8-wine10.html
status=0
scripts/with-display.sh "$WINE" "$build/paint_transcript.exe" --compare \
    docs/transcript-wine-all.csv docs/transcript-wine10.0-sid-all.csv --html "$page" >/dev/null || status=$?
[ "$status" -le 1 ] || { echo "docs-images: the comparison failed" >&2; exit 1; }

render() {  # PAGE WIDTH,HEIGHT OUT.png
    rm -rf "$tmp/profile"
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
        --no-first-run --user-data-dir="$tmp/profile" --hide-scrollbars \
        --force-device-scale-factor=1 --window-size="$2" --screenshot="$3" "file://$1" \
        >/dev/null 2>&1
}
# Two views into the page, 1,400 pixels wide: its top (the systems, the
# summary and the first paints) and the first paint that differs.
first=$(grep -o 'Paints that differ: <a href="#[^"]*"' "$page" | sed 's/.*href="#//; s/"$//')
cat >"$tmp/views.html" <<HTML
<!DOCTYPE html><html><body style="margin:0;background:#ccc">
<iframe src="file://$here/$page" style="display:block;border:0;width:1400px;height:640px"></iframe>
<iframe src="file://$here/$page#$first" style="display:block;border:0;margin-top:8px;width:1400px;height:560px"></iframe>
</body></html>
HTML
render "$tmp/views.html" 1400,1208 docs/compare-wine8-wine10.png
"$WINE" "$build/paint_transcript.exe" --quiet --from docs/transcript-by-hand.csv \
    --html "$tmp/by-hand.html" >/dev/null
render "$tmp/by-hand.html" "$(sed -n 's/.*<body style="width:\([0-9]*\)px;height:\([0-9]*\)px.*/\1,\2/p' "$tmp/by-hand.html")" \
    docs/report-by-hand.png
# The releases side by side, in their order, and the top of that page.
matrix=docs/matrix-wine.html
status=0
"$WINE" "$build/paint_transcript.exe" --compare docs/transcript-wine5.0-all.csv \
    docs/transcript-wine-all.csv docs/transcript-wine8.0-openbox-all.csv \
    docs/transcript-wine10.0-all.csv docs/transcript-wine10.0-sid-all.csv \
    --names "Wine 5.0,Wine 8.0,Wine 8.0 under Openbox,Wine 10.0 (trixie),Wine 10.0 (sid)" \
    --html "$matrix" >/dev/null || status=$?
[ "$status" -le 1 ] || { echo "docs-images: the matrix failed" >&2; exit 1; }
render "$here/$matrix" 1400,900 docs/matrix-wine.png
# What a Wine bug tracker is given of Wine 10.0's difference, with the
# smallest test kept in docs/ (made as root, as it runs under trixie's Wine
# too: scripts/smallest-test.sh --on trixie docs/transcript-wine-all.csv
# docs/transcript-wine10.0-all.csv docs/listview_paint.c).
status=0
"$WINE" "$build/paint_transcript.exe" --compare docs/transcript-wine-all.csv \
    docs/transcript-wine10.0-all.csv --bug-report docs/bug-report-wine8-wine10.md \
    --attach docs/listview_paint.c >/dev/null ||
    status=$?
[ "$status" -le 1 ] || { echo "docs-images: the bug report failed" >&2; exit 1; }
echo "docs-images: wrote docs/form1-scales.png, $page, docs/compare-wine8-wine10.png," \
     "docs/report-by-hand.png, $matrix, docs/matrix-wine.png and docs/bug-report-wine8-wine10.md"
