#!/usr/bin/env bash
# The pages as a person reads them, in headless Chromium 1400 pixels wide:
# a report and a comparison of the transcripts in docs/, and of one whose
# steps have the longest names the tool writes; the five systems of docs/.
# No caption overlaps another or a frame, and each shows its step name
# whole; outlines are the size of what they mark; every note stands in view,
# overlaps nothing and breaks no word. A comparison fits the width, keeps
# the systems' names in view, and an opened message list covers nothing.
# usage: html_layout_browser_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tool() { "$WINE" "$1" "${@:2}" >/dev/null 2>"$tmp/tool.err"; }

# Long names: a resize from outside as a window manager gives it, and the
# largest numbers a step is written with.
rename() {
    awk 'NR == 1 { print; next }
         { step = substr($0, 1, index($0, ",") - 1)
           name = NR % 2 ? "resize bottom +20 from outside" : "\"resize corner +2147483647,+2147483647 from outside\""
           sub(/^[0-9]+,[^,]*,/, step "," name ","); print }' "$1"
}
# The pages of the recordings docs/ shows (docs/comparing.md), and of
# those changed.
awk -F, -v OFS=, 'NR > 1 && /^[0-9]/ && NR % 7 == 0 { $5 += 1 } { print }' "$here/docs/transcript-wine-all.csv" >"$tmp/moved.csv"
rename "$here/docs/transcript-wine-all.csv" >"$tmp/long.csv"
rename "$tmp/moved.csv" >"$tmp/long-moved.csv"

pages=(report-all report-long compare-wine8-wine10 compare-long matrix-releases matrix-five)
tool "$1" --quiet --from "$here/docs/transcript-wine-all.csv" --html "$tmp/report-all.html"
tool "$1" --quiet --from "$tmp/long.csv" --html "$tmp/report-long.html"
tool "$1" --compare "$here/docs/transcript-wine-all.csv" "$here/docs/transcript-wine10.0-sid-all.csv" \
    --html "$tmp/compare-wine8-wine10.html"
tool "$1" --compare "$tmp/long.csv" "$tmp/long-moved.csv" --html "$tmp/compare-long.html"
tool "$1" --compare "$here/docs/transcript-wine5.0-all.csv" "$here/docs/transcript-wine-all.csv" \
    "$here/docs/transcript-wine10.0-all.csv" --html "$tmp/matrix-releases.html"
tool "$1" --compare "$here/docs/transcript-wine-all.csv" "$here/docs/transcript-wine5.0-all.csv" \
    "$here/docs/transcript-wine10.0-all.csv" "$here/docs/transcript-wine10.0-sid-all.csv" \
    "$here/docs/transcript-wine8.0-openbox-all.csv" --html "$tmp/matrix-five.html"

for page in "${pages[@]}"; do
    [ -s "$tmp/$page.html" ] || { fail "$page: not written: $(cat "$tmp/tool.err")"; continue; }
    { sed 's|</body></html>||' "$tmp/$page.html"; echo '<script>'; cat "$here/tests/support/layout_check.js"
      echo '</script></body></html>'; } >"$tmp/$page-checked.html"
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
        --disable-component-update --disable-sync --no-first-run --user-data-dir="$tmp/profile" \
        --hide-scrollbars --force-device-scale-factor=1 --window-size=1400,1000 \
        --dump-dom "file://$tmp/$page-checked.html" 2>/dev/null >"$tmp/$page.dom"
    result=$(sed -n '/<pre id="layout">/,/<\/pre>/p' "$tmp/$page.dom" | sed 's/<[^>]*>//g')
    [ -n "$result" ] || { fail "$page: Chromium ran no check"; continue; }
    check "$page: $(head -n 1 <<<"$result"), laid out" "layout ok" "$(tail -n +2 <<<"$result" | head -n 12)"
done
grep -q 'class="note"' "$tmp/compare-wine8-wine10.html" || fail "compare-wine8-wine10: no note of the paint that differs"
check "compare-wine8-wine10: the start left out, said at the top" 1 \
    "$(grep -c "<p class=\"cut\">step 0, the program's start, left out: .*transcript-wine10.0-sid-all.csv was recorded without it</p>" \
        "$tmp/compare-wine8-wine10.html")"
check "compare-wine8-wine10: what is known of the two systems, in columns" \
    "<th>display scale</th><th>visual styles</th><th>comctl32</th><th>font</th>" \
    "$(grep -o '<table class="facts"><tr><th>system</th>\(<th>[^<]*</th>\)*' "$tmp/compare-wine8-wine10.html" |
        sed 's|<table class="facts"><tr><th>system</th>||')"
finish
