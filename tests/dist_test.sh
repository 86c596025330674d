#!/usr/bin/env bash
# The zip we ship: made by CPack from a build, it holds exactly the three
# binaries as built, the reference transcript and a Windows README.
# usage: dist_test.sh BUILD_DIR (of the 32-bit build)
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

source "$(dirname "$0")/support/check.sh"

(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/dist" >cpack.log 2>&1) ||
    { cat "$tmp/cpack.log"; fail "cpack"; finish; exit; }
zip=$(ls "$tmp"/dist/*.zip)
top=$(basename "$zip" .zip)
version=$(sed -n 's/^project(paintprobe VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
check "one zip, named for the version" "paintprobe-$version-win32" "$top"
check "its contents" "README.txt paint_hook.dll paint_transcript.exe paintprobe.exe transcript-wine-all.csv transcript-wine-all.messages.csv transcript-wine.csv transcript-wine10.0-sid-all.csv transcript-wine10.0-sid-all.messages.csv transcript-wine5.0-all.csv transcript-wine5.0-all.messages.csv wine/ wine/test.h" \
      "$(cmake -E tar tf "$zip" | sed "s|^$top/||" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"

# What docs/shipping.md says the zip holds: the files it names, and how many
# transcripts.
said=$(awk '/^## The zip/ { on = 1; next } on && /^$/ && text { exit } on { text = text " " $0 } END { print text }' \
    "$here/docs/shipping.md")
check "docs/shipping.md: the files it names are those in the zip" \
    "$(cmake -E tar tf "$zip" | sed -n "s|^$top/||; /\.messages\.csv$/d; /^[^/]*\.[a-z]*$/p; /^wine\/test\.h$/p" | LC_ALL=C sort | tr '\n' ' ')" \
    "$(grep -o '`[^`]*\.\(csv\|exe\|dll\|txt\|h\)`' <<<"$said" | tr -d '`' | LC_ALL=C sort -u | tr '\n' ' ')"
transcripts=$(cmake -E tar tf "$zip" | grep -c '/transcript-[^/]*[^s]\.csv$\|/transcript-wine\.csv$')
words=(none one two three four five six seven eight nine)
grep -q "${words[$transcripts]} transcripts of" <<<"$said" ||
    fail "docs/shipping.md: says the zip holds ${words[$transcripts]} transcripts ($transcripts)"

(cd "$tmp" && cmake -E tar xf "$zip")
for f in paintprobe.exe paint_transcript.exe paint_hook.dll; do
    check "$f as built" same "$(cmp -s "$build/$f" "$tmp/$top/$f" && echo same || echo different)"
done
for f in transcript-wine.csv transcript-wine-all.csv transcript-wine10.0-sid-all.csv \
         transcript-wine-all.messages.csv transcript-wine10.0-sid-all.messages.csv \
         transcript-wine5.0-all.csv transcript-wine5.0-all.messages.csv; do
    check "the reference $f" same "$(cmp -s "$here/docs/$f" "$tmp/$top/$f" && echo same || echo different)"
done
check "wine/test.h as the project has it" same \
    "$(cmp -s "$here/wine_test_standin/wine/test.h" "$tmp/$top/wine/test.h" && echo same || echo different)"
readme=$tmp/$top/README.txt
check "README.txt with Windows line ends only" 0 "$(grep -vc $'\r$' "$readme")"
for line in "paint_transcript.exe --scenario all --csv windows.csv" \
            "paint_transcript.exe --self-test --self-test-file windows.self-test.txt" \
            "paint_transcript.exe --compare windows.csv transcript-wine-all.csv --html" "client_height" \
            "paint_transcript.exe --export-test listview_paint.c windows.csv"; do
    check "README.txt tells: $line" 1 "$(grep -cF "$line" "$readme")"
done

finish
