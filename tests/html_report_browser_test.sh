#!/usr/bin/env bash
# The HTML report of the recorded `all` scenario (docs/, with its message
# log), as a real browser shows it: Debian's headless Chromium renders it to
# PNG, and inside the frames the pixels are what the transcript says: each
# region in the colour recorded for it, the reported rectangle outlined in
# black, the list view's outline grey. And the report of as many paints as a
# recording holds opens there, whole.
# usage: html_report_browser_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The page of the recording docs/ shows in its own page and picture.
"$here/cmake/wine-run.sh" "$1" --quiet --from "$here/docs/transcript-wine-all.csv" \
    --csv "$tmp/all.csv" --html "$tmp/all.html" >/dev/null || fail "reading the transcript"
size=$(sed -n 's/.*<body style="width:\([0-9]*\)px;height:\([0-9]*\)px.*/\1,\2/p' "$tmp/all.html")
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --no-first-run --user-data-dir="$tmp/profile" --hide-scrollbars --force-device-scale-factor=1 \
    --window-size="$size" --screenshot="$tmp/all.png" "file://$tmp/all.html" >/dev/null 2>&1
[ -s "$tmp/all.png" ] || { fail "Chromium rendered no PNG"; finish; exit; }

# The screenshot as raw RGB, three bytes a pixel, rows of the page's width.
convert "$tmp/all.png" -depth 8 "rgb:$tmp/all.rgb"
pixel() { printf '#%s' "$(od -An -tx1 -j $((($2 * ${size%,*} + $1) * 3)) -N3 "$tmp/all.rgb" | tr -d ' \n')"; }
# Page pixel of a point of the list view: frame left/top + view pixels * scale.
at() { awk -v l="$1" -v t="$2" -v s="$3" -v x="$4" -v y="$5" 'BEGIN { printf "%d %d", l + x * s, t + y * s }'; }

frames=0
while IFS= read -r frame; do
    id=$(sed -n 's/.*<figure id="\([a-z0-9]*\)".*/\1/p' <<<"$frame")
    read -r left top scale < <(sed -n 's/.*style="left:\([0-9]*\)px;top:\([0-9]*\)px;width:[0-9]*px" data-scale="\([0-9.]*\)".*/\1 \2 \3/p' <<<"$frame")
    read -r x y w h fill < <(sed -n 's/.*<rect class="region" x="\([0-9]*\)" y="\([0-9]*\)" width="\([0-9]*\)" height="\([0-9]*\)" fill="\(#[0-9a-f]*\)".*/\1 \2 \3 \4 \5/p' <<<"$frame")
    [ -n "$fill" ] || continue
    # Only parts large enough on the page to have a middle clear of the outline.
    awk -v w="$w" -v h="$h" -v s="$scale" 'BEGIN { exit !(w * s >= 5 && h * s >= 5) }' || continue
    frames=$((frames + 1))
    check "$id: the region's middle in its colour" "$fill" "$(pixel $(at "$left" "$top" "$scale" $((x + w / 2)) $((y + h / 2))))"
    read -r rx ry rw rh < <(sed -n 's/.*<rect class="reported" x="\([0-9]*\)" y="\([0-9]*\)" width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2 \3 \4/p' <<<"$frame")
    # The pixel wholly inside the 2-pixel stroke centred on the edge.
    read -r ex ey < <(awk -v l="$left" -v t="$top" -v s="$scale" -v x=$((rx + rw)) -v y=$((ry + rh / 2)) \
                          'BEGIN { e = l + x * s - 0.5; printf "%d %d", e - (e < int(e)), t + y * s }')
    edge=$(pixel "$ex" "$ey")
    dark=$edge
    (( 16#${edge:1:2} < 80 && 16#${edge:3:2} < 80 && 16#${edge:5:2} < 80 )) 2>/dev/null && dark=dark
    check "$id: the report's right edge outlined in black" dark "$dark"
done < <(grep '<figure id=' "$tmp/all.html")
check "frames with a region large enough to check" yes "$([ "$frames" -ge 20 ] && echo yes || echo "only $frames")"

# 8192 paints: the recorded scenario again and again, steps numbered on.
awk -F, 'NR == 1 { print; next } /^"?#/ { next } { rows[++n] = $0; step[n] = $1 }
         END { for (k = 0; k < 8192; ++k) { i = k % n + 1; r = rows[i]
                   sub(/^[0-9]+/, step[i] + int(k / n) * step[n], r); print r } }' \
    "$tmp/all.csv" >"$tmp/big.csv"
"$here/cmake/wine-run.sh" "$1" --quiet --from "$tmp/big.csv" --html "$tmp/big.html" >/dev/null ||
    fail "writing the report of 8192 paints"
timeout 300 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --no-first-run --user-data-dir="$tmp/profile" --dump-dom "file://$tmp/big.html" 2>/dev/null \
    >"$tmp/big.dom"
check "the report of 8192 paints opens in Chromium, every frame in it" 8192 \
    "$(grep -o '<figure id="f[0-9]*"' "$tmp/big.dom" | sort -u | wc -l)"
finish
