#!/usr/bin/env bash
# A transcript and its message log opened and saved back by a real
# spreadsheet, LibreOffice Calc (headless, English defaults), with commas and
# with semicolons: they read again as the same rows, every region as the
# tool wrote it. Regions in the
# form used before are what Calc took for numbers; such a file is refused
# with its line.
# usage: spreadsheet_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
run() { "$here/cmake/wine-run.sh" "$tool" --quiet "$@"; }
calc() {  # calc SEPARATOR FILE: Calc opens FILE and saves it as CSV in $tmp/SEPARATOR/
    timeout 120 soffice -env:UserInstallation="file://$tmp/profile" --headless \
        --convert-to "csv:Text - txt - csv (StarCalc):$1,34,76,1,,0,true,true" \
        --outdir "$tmp/$1" "$2" >/dev/null 2>&1
}

# A whole recording as a person has it: docs/'s, the one they would open first.
run --from "$here/docs/transcript-wine-all.csv" --csv "$tmp/tool.csv" >/dev/null
for separator in 44 59; do
    calc "$separator" "$tmp/tool.csv"
    [ -s "$tmp/$separator/tool.csv" ] || { fail "Calc saved nothing with separator $separator"; continue; }
    check "Calc wrote separator $separator" 1 "$(head -n 1 "$tmp/$separator/tool.csv" | grep -c "\"step\"$(printf "\\x$(printf %x "$separator")")\"action\"")"
    calc "$separator" "$tmp/tool.messages.csv"
    run --from "$tmp/$separator/tool.csv" --csv "$tmp/back-$separator.csv" >/dev/null
    check "saved by Calc with separator $separator, read back: the same file" \
        "$(md5sum <"$tmp/tool.csv")" "$(md5sum <"$tmp/back-$separator.csv")"
    check "its message log saved by Calc, read back: the same file" \
        "$(md5sum <"$tmp/tool.messages.csv")" "$(md5sum <"$tmp/back-$separator.messages.csv")"
done

cp "$here/docs/transcript-wine.csv" "$tmp/old.csv"
calc 44 "$tmp/old.csv"
check "the form used before, saved by Calc: refused with its line" \
    "paint_transcript: $tmp/44/old.csv: line 2: region: expected rectangles [left,top,right,bottom] apart by blanks, found \"338270348\"" \
    "$(run --from "$tmp/44/old.csv" 2>&1 >/dev/null | tr -d '\r')"
finish
