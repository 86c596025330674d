#!/usr/bin/env bash
# Writes apt's sources without the suites whose lists apt-get update could
# not fetch, for the set-up to install from the suites that did come:
#   sources-without.sh APT_LOG OUT_DIR
# OUT_DIR gets sources.list and parts/*.sources; the person's own files
# under /etc/apt (APT_ETC in the tests) are only read. Prints each suite
# left out, "URI SUITE" a line; exits 1 where the log names none.
set -euo pipefail
log=$1 out=$2
etc=${APT_ETC:-/etc/apt}

# "Failed to fetch http://host/debian-security/dists/bookworm-security/main/..."
mapfile -t failed < <(sed -n 's|.*Failed to fetch \([^ ]*\)/dists/\([^/ ]*\)/.*|\1 \2|p' "$log" | sort -u)
[ ${#failed[@]} -gt 0 ] || exit 1

mkdir -p "$out/parts"
rm -f "$out/parts/"*.sources
list=$(printf '%s\n' "${failed[@]}")

# One-line sources: a line naming a failed suite of its URI is left out.
for file in "$etc/sources.list" "$etc/sources.list.d/"*.list; do
    if [ -e "$file" ]; then cat "$file"; fi
done |
    awk -v failed="$list" '
        BEGIN { n = split(failed, f, "\n") }
        /^[ \t]*deb/ {
            for (i = 1; i <= n; i++) {
                split(f[i], p, " ")
                uri = 0; suite = 0
                for (j = 2; j <= NF; j++) {
                    w = $j; sub(/\/$/, "", w)
                    if (w == p[1]) uri = j
                    else if (uri && j == uri + 1 && $j == p[2]) suite = 1
                }
                if (suite) next
            }
        }
        { print }' >"$out/sources.list"

# deb822 sources: the failed suites are taken off a stanza's Suites of that
# URI; a stanza left with none is left out.
for file in "$etc/sources.list.d/"*.sources; do
    [ -e "$file" ] || continue
    awk -v failed="$list" '
        BEGIN { RS = ""; n = split(failed, f, "\n") }
        {
            lines = split($0, l, "\n"); uris = ""
            for (k = 1; k <= lines; k++)
                if (l[k] ~ /^URIs:/) { uris = " " substr(l[k], 6) " "; gsub(/\/ /, " ", uris) }
            text = ""; keep = 1
            for (k = 1; k <= lines; k++) {
                if (l[k] ~ /^Suites:/) {
                    m = split(substr(l[k], 8), s, " "); left = ""
                    for (j = 1; j <= m; j++) {
                        out = 0
                        for (i = 1; i <= n; i++) {
                            split(f[i], p, " ")
                            if (s[j] == p[2] && index(uris, " " p[1] " ")) out = 1
                        }
                        if (!out) left = left " " s[j]
                    }
                    if (left == "") keep = 0
                    l[k] = "Suites:" left
                }
                text = text l[k] "\n"
            }
            if (keep) printf "%s\n", text
        }' "$file" >"$out/parts/$(basename "$file")"
done
printf '%s\n' "${failed[@]}"
