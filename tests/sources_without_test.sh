#!/usr/bin/env bash
# The set-up's sources without the suites whose lists did not come: in both
# of apt's formats, only the failed suite of the failed URI is left out, a
# stanza left with no suite goes, and the person's files are not touched.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
source "$here/tests/support/check.sh"
export APT_ETC=$tmp/etc
mkdir -p "$APT_ETC/sources.list.d"

cat >"$APT_ETC/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main

Types: deb
# security
URIs: http://deb.debian.org/debian-security/
Suites: bookworm-security
Components: main

Types: deb
URIs: http://mirror.example/debian http://deb.debian.org/debian-security
Suites: bookworm bookworm-security
Components: main contrib
SOURCES
cat >"$APT_ETC/sources.list" <<'LIST'
deb http://deb.debian.org/debian-security/ bookworm-security main
deb [arch=amd64] http://deb.debian.org/debian-security bookworm-security main
deb http://other.example/debian-security bookworm-security main
# deb http://deb.debian.org/debian-security bookworm-security main
deb http://deb.debian.org/debian bookworm main
LIST
before=$(cat "$APT_ETC/sources.list" "$APT_ETC/sources.list.d/debian.sources")
cat >"$tmp/apt.log" <<'LOG'
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-amd64/Packages.xz  File has unexpected size
E: Some index files failed to download. They have been ignored, or old ones used instead.
LOG

left=$("$here/scripts/sources-without.sh" "$tmp/apt.log" "$tmp/out")
check "the suite left out, once" "http://deb.debian.org/debian-security bookworm-security" "$left"
check "deb822: the failed suite off its URI's stanzas" "Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main

Types: deb
URIs: http://mirror.example/debian http://deb.debian.org/debian-security
Suites: bookworm
Components: main contrib" "$(cat "$tmp/out/parts/debian.sources")"
check "one-line: the failed suite's lines of that URI out" "deb http://other.example/debian-security bookworm-security main
# deb http://deb.debian.org/debian-security bookworm-security main
deb http://deb.debian.org/debian bookworm main" "$(cat "$tmp/out/sources.list")"
check "the person's sources unchanged" "$before" "$(cat "$APT_ETC/sources.list" "$APT_ETC/sources.list.d/debian.sources")"

echo "E: Unable to locate package nonesuch" >"$tmp/other.log"
"$here/scripts/sources-without.sh" "$tmp/other.log" "$tmp/none" && status=0 || status=$?
check "no failed list: nothing written" "1 absent" "$status $([ -e "$tmp/none" ] && echo present || echo absent)"
finish
