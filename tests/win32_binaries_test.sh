#!/usr/bin/env bash
# The 32-bit binaries we ship start on Windows XP SP3, Server 2003 and
# ReactOS: each is a 32-bit x86 PE file whose headers ask for system 5.1 or
# lower, and each function it imports is one that the system DLLs of that
# generation export; the programs' manifests declare them DPI-aware.
# paintprobe.exe and paint_hook.dll are at most 256 KiB,
# paint_transcript.exe at most 576 KiB, static runtime and all. Reads
# the files only: no Wine needed.
# usage: win32_binaries_test.sh BUILD_DIR [OBJDUMP]
set -uo pipefail
build=$1
objdump=${2:-i686-w64-mingw32-objdump}
lists=$(cd "$(dirname "$0")/data/nt5-exports" && pwd)

source "$(dirname "$0")/support/check.sh"

for name in paintprobe.exe paint_transcript.exe paint_hook.dll; do
    file=$build/$name
    [ -f "$file" ] || { fail "$name: not built in $build"; continue; }
    dump=$("$objdump" -p "$file") || { fail "$name: $objdump cannot read it"; continue; }
    before=$failures

    grep -q 'file format pei-i386' <<<"$dump" || fail "$name: not a 32-bit x86 PE file"
    # Told the true pixels at every scale: Vista and later stretch a program
    # that does not say it is DPI-aware, and give it 96-dpi coordinates.
    [ "$name" = paint_hook.dll ] || grep -aq '<dpiAware[^>]*>true</dpiAware>' "$file" ||
        fail "$name: its manifest does not declare it DPI-aware"
    size=$(stat -c %s "$file")
    limit=256
    [ "$name" = paint_transcript.exe ] && limit=576
    [ "$size" -le $((limit * 1024)) ] || fail "$name: $size bytes, more than $limit KiB"
    for field in OSystemVersion SubsystemVersion; do
        major=$(sed -n "s/^Major$field\s*//p" <<<"$dump")
        minor=$(sed -n "s/^Minor$field\s*//p" <<<"$dump")
        [ $((major * 100 + minor)) -le 501 ] ||
            fail "$name: $field $major.$minor asks for a system newer than Windows XP (5.1)"
    done

    # "DLL Name: X" opens a DLL's block; each import is "vma  hint  name";
    # a blank line ends the block.
    imports=$(awk '/^\tDLL Name: / { dll = $3; next }
                   /^$/ { dll = "" }
                   dll != "" && /^\t[0-9a-f]+\t/ {
                       if (NF >= 3) print dll, $3; else print dll, "#by-ordinal"
                   }' <<<"$dump")
    [ -n "$imports" ] || fail "$name: no import table found"
    while read -r dll function; do
        list=$lists/$(tr 'A-Z' 'a-z' <<<"${dll%.*}").txt
        if [ ! -f "$list" ]; then
            fail "$name imports $dll, a DLL with no list of its exports"
        elif [ "$function" = "#by-ordinal" ]; then
            fail "$name imports from $dll by ordinal"
        elif ! grep -qxF "$function" "$list"; then
            fail "$name imports $dll!$function, which Windows XP / Server 2003 do not export"
        fi
    done < <(sort -u <<<"$imports")
    [ "$failures" -eq "$before" ] && { echo "ok: $name ($(wc -l <<<"$imports") imports)"; passes=$((passes + 1)); }
done

finish
