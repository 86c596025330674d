#!/usr/bin/env bash
# The message log as a recording writes it: `all` recorded with its log
# paints what it painted without one (docs/transcript-wine-all.csv, and the
# scenario file's replay, which logs nothing); its log compares alike with
# the one recorded before on this system (docs/); every paint is a
# WM_PAINT row of the list view in the log, numbered as the transcript's rows.
# usage: message_log_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
run() { timeout 120 "$here/cmake/wine-run.sh" "$1" "${@:2}"; }
# docs/'s log, which docs/message-log.md explains: it must stay what the
# program logs now.
docs=$here/docs/transcript-wine-all.csv

out=$(run "$1" --quiet --scenario all --csv "$tmp/all.csv" --check "$docs" | tr -d '\r')
check "with its log: the paints of the reference" "0 same" "$? ${out##*: }"
[ -s "$tmp/all.messages.csv" ] || fail "with its log: all.messages.csv written beside all.csv"

# The first, as the program starts, is sent (UpdateWindow); the rest posted.
paints=$(awk -F, '/^[0-9]+,/ && $4 == "ListView1" && $6 == "WM_PAINT" { print $3 $5 }' \
    "$tmp/all.messages.csv" | tr '\n' ' ')
check "every paint a WM_PAINT row of the list view, in turn" \
    "1sent $(seq -f '%gposted' -s ' ' 2 50) " "$paints"

out=$(run "$1" --compare "$tmp/all.csv" "$docs" | tr -d '\r')
check "two runs on one system: status" 0 "$?"
grep -qx 'messages: 54 of 54 steps alike' <<<"$out" ||
    fail "two runs on one system: their logs alike: $out"
finish
