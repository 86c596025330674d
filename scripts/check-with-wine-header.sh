#!/usr/bin/env bash
# Compiles an exported conformance test against Wine's own wine/test.h, as
# Wine's tree has it, 32- and 64-bit with -Wall -Wextra: no warning allowed.
# Wine's headers come from this machine's Debian source package of Wine,
# downloaded once (25 MB, said when it is) and kept in
# /var/tmp/paintprobe-wine-include or $PAINTPROBE_WINE_INCLUDE. Not part of
# `make test`: it needs the network the first time.
# usage: scripts/check-with-wine-header.sh TEST.c [TEST.c ...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: scripts/check-with-wine-header.sh TEST.c [TEST.c ...]" >&2; exit 2; }
include=${PAINTPROBE_WINE_INCLUDE:-/var/tmp/paintprobe-wine-include}
if [ ! -f "$include/wine/test.h" ]; then
    version=$(dpkg-query -W -f '${source:Version}\n' wine 2>/dev/null | head -n 1)
    upstream=${version%-*}
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -m1 '/debian/\?$' || true)
    [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
    tarball=wine_${upstream}.orig.tar.xz
    echo "check-with-wine-header: downloading Wine's sources ($tarball) for its headers, once"
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    curl -sfL "${mirror%/}/pool/main/w/wine/$tarball" -o "$tmp/$tarball" ||
        { echo "check-with-wine-header: could not download $tarball from $mirror" >&2; exit 1; }
    tar -xJf "$tmp/$tarball" -C "$tmp" --wildcards '*/include/wine/*.h'
    mkdir -p "$include/wine"
    cp "$tmp"/*/include/wine/*.h "$include/wine/"
fi
status=0
for file in "$@"; do
    for cc in i686 x86_64; do
        if out=$("$cc-w64-mingw32-gcc" -Wall -Wextra -c -I "$include" "$file" -o /dev/null 2>&1) && [ -z "$out" ]; then
            echo "ok: $file with Wine's wine/test.h, $cc"
        else
            echo "FAILED: $file with Wine's wine/test.h, $cc:"
            echo "$out"
            status=1
        fi
    done
done
exit "$status"
