#!/usr/bin/env bash
# Records the `all` scenario under a second Windows-compatible system: Debian
# sid's Wine 10, in a Debian sid root of its own (build/wine10-root), with the
# 64-bit build (sid's Wine runs no 32-bit program on a kernel without 32-bit
# support). Writes docs/transcript-wine10-all.csv and its message log.
# Not part of `make test`: it downloads a Debian root and Wine (a few
# minutes the first time, 2.3 GB, kept in /var/tmp/paintprobe-wine10-root or
# $WINE10_ROOT for the next time); needs root for debootstrap, mount and chroot.
# usage: scripts/record-wine10.sh [--prepare-only] [OUT.csv]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
root=${WINE10_ROOT:-/var/tmp/paintprobe-wine10-root}
prepare_only=
[ "${1:-}" = --prepare-only ] && { prepare_only=1; shift; }
out=${1:-$here/docs/transcript-wine10-all.csv}

fail() {
    printf 'record-wine10: %s\n' "$@" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "debootstrap, mount and chroot need root: run it as root."

if ! command -v debootstrap >/dev/null; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null ||
        fail "could not install debootstrap"
fi
# The mirror this machine's own packages come from.
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -m1 '/debian$' || true)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $2 ~ /\/debian\/?$/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
[ -n "$mirror" ] || fail "no Debian mirror found in /etc/apt/sources.list*"

mkdir -p "$here/build"  # its logs
mounted=()
cleanup() {
    local m
    for m in "${mounted[@]}"; do umount -R "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
}
trap cleanup EXIT
mount_root() {
    mount -t proc proc "$root/proc" && mounted+=("$root/proc")
    mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounted+=("$root/dev")
}
in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/lib/x86_64-linux-gnu/wine:/usr/bin:/bin \
                LANG=C.UTF-8 "$@"; }

if [ ! -x "$root/usr/lib/x86_64-linux-gnu/wine/wine" ]; then
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        echo "record-wine10: making a Debian sid root in $root (about a minute)"
        rm -rf "$root"
        debootstrap --variant=minbase sid "$root" "$mirror" >"$here/build/wine10-debootstrap.log" 2>&1 ||
            fail "debootstrap failed (log: build/wine10-debootstrap.log)"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount_root
    echo "record-wine10: installing Wine 10 in it (a few minutes)"
    # The mirror's sid lists are a dated snapshot.
    in_root apt-get -o Acquire::Check-Valid-Until=false update -qq >"$here/build/wine10-apt.log" 2>&1 &&
        in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            wine wine64 xvfb xauth fonts-wine >>"$here/build/wine10-apt.log" 2>&1 ||
        fail "installing Wine in the sid root failed (log: build/wine10-apt.log)"
else
    mount_root
fi
[ -n "$prepare_only" ] && { echo "record-wine10: root ready"; exit 0; }

build=$here/build/win64
rm -rf "$root/tmp/paintprobe" && mkdir -p "$root/tmp/paintprobe"
for f in paintprobe.exe paint_transcript.exe paint_hook.dll; do
    [ -f "$build/$f" ] || fail "$build/$f is missing: run make build first"
    cp "$build/$f" "$root/tmp/paintprobe/"
done

echo "record-wine10: recording the all scenario under $(in_root wine --version 2>/dev/null || echo Wine)"
in_root bash -s <<'INSIDE' >"$here/build/wine10-run.log" 2>&1 || { tail -n 20 "$here/build/wine10-run.log" >&2; fail "the recording failed (above; log: build/wine10-run.log)"; }
set -euo pipefail
export WINEPREFIX=/root/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:77
sleep 1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # As the project's own prefix: Wine's fonts where programs look, and one
    # virtual desktop of 1280 x 1024 in which Wine manages the windows.
    DISPLAY= wine64 wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    DISPLAY= wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    DISPLAY= wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
    wineserver -w
fi
wineserver -p
wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
cd /tmp/paintprobe
wine64 ./paint_transcript.exe --scenario all --csv wine10-all.csv
INSIDE
cp "$root/tmp/paintprobe/wine10-all.csv" "$out"
cp "$root/tmp/paintprobe/wine10-all.messages.csv" "${out%.csv}.messages.csv"
echo "record-wine10: wrote $out ($(($(wc -l <"$out") - 1)) paints) and its message log"
