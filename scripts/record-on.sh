#!/usr/bin/env bash
# Records a scenario under the Wine of a Debian release, in a Debian root of
# that release (bullseye: Wine 5.0, bookworm: 8.0, trixie: 10.0, sid: its
# later 10.0), with the build that Wine and this kernel can run: the 32-bit
# one where the root has a 32-bit Wine and the kernel runs 32-bit programs,
# else the 64-bit one. Writes docs/transcript-wine<version>-<scenario>.csv
# (sid's -sid-<scenario>: trixie has a 10.0 too), or OUT.csv, and its
# message log.
# Not part of `make test`: the first time it downloads a Debian root and its
# Wine (a few minutes, 1 to 3 GB, kept in /var/tmp/paintprobe-<release>-root
# or $PAINTPROBE_ROOTS/<release> for the next time); it needs root for
# debootstrap, mount and chroot.
# --run-test TEST.exe runs an exported conformance test there instead (the
# 64-bit build of it where the root's Wine is 64-bit only), and exits with
# its status. --self-test runs the tool's self-test there, and exits with its.
# usage: scripts/record-on.sh [--prepare-only | --run-test TEST.exe | --self-test] RELEASE [SCENARIO [OUT.csv]]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
prepare_only= test_exe= self_test=
[ "${1:-}" = --prepare-only ] && { prepare_only=1; shift; }
[ "${1:-}" = --self-test ] && { self_test=1; shift; }
if [ "${1:-}" = --run-test ]; then
    test_exe=$(realpath "${2:-}" 2>/dev/null) && [ -f "$test_exe" ] ||
        { echo "record-on: --run-test needs the test's .exe after it" >&2; exit 1; }
    shift 2
fi
release=${1:-}
scenario=${2:-all}
out=${3:-}

fail() {
    printf 'record-on: %s\n' "$@" >&2
    exit 1
}
case $release in
    bullseye | bookworm | trixie | sid) ;;
    "") fail "which release? usage: scripts/record-on.sh [--prepare-only] bullseye|bookworm|trixie|sid [SCENARIO]" ;;
    *) fail "there is no release \"$release\" here; there are bullseye, bookworm, trixie and sid" ;;
esac
case $scenario in
    drag | right | corner | top | grow | narrow | maxrestore | all) ;;
    *) fail "there is no scenario \"$scenario\"; there are drag, right, corner, top, grow, narrow, maxrestore and all" ;;
esac
[ "$(id -u)" -eq 0 ] || fail "debootstrap, mount and chroot need root: run it as root (sudo scripts/record-on.sh $*)."
for f in paintprobe.exe paint_transcript.exe paint_hook.dll; do
    for b in win32 win64; do
        [ -f "$here/build/$b/$f" ] || fail "build/$b/$f is missing: run make build first"
    done
done

root=${PAINTPROBE_ROOTS:+$PAINTPROBE_ROOTS/$release}
root=${root:-/var/tmp/paintprobe-$release-root}
logs=$here/build/record-on-$release
mkdir -p "$logs"

if ! command -v debootstrap >/dev/null; then
    # A stale list fails the update but not the install from the lists that
    # came; set-up's own lists (build/apt-sources) where even that fails.
    src=$here/build/apt-sources
    { apt-get update -qq || true
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap ||
          { [ -f "$src/sources.list" ] &&
            DEBIAN_FRONTEND=noninteractive apt-get -o Dir::Etc::SourceList="$src/sources.list" \
                -o Dir::Etc::SourceParts="$src/parts" -o Dir::State::Lists="$src/lists" \
                -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= install -y -qq debootstrap; }
    } >"$logs/host-apt.log" 2>&1 || fail "could not install debootstrap (log: ${logs#"$here"/}/host-apt.log)"
fi
# The mirror this machine's own packages come from; bullseye may have moved
# to the archive since.
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -m1 '/debian/\?$' || true)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $2 ~ /\/debian\/?$/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
[ -n "$mirror" ] || fail "no Debian mirror found in /etc/apt/sources.list*"

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
in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/lib/wine:/usr/lib/x86_64-linux-gnu/wine:/usr/bin:/bin \
                LANG=C.UTF-8 "$@"; }

# Does this kernel run 32-bit programs? The set-up found out for the prefix.
runs32=no
grep -q '^mode=win32+win64$' "$here/build/wineprefix/paintprobe-mode" 2>/dev/null && runs32=yes

if [ ! -f "$root/.paintprobe-ready" ]; then
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        echo "record-on: making a Debian $release root in $root (a minute or two)"
        rm -rf "$root"
        debootstrap --variant=minbase "$release" "$root" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
            fail "debootstrap of $release from $mirror failed: the download, or the release is no longer there (log: ${logs#"$here"/}/debootstrap.log)"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount_root
    echo "record-on: installing $release's Wine in it (a few minutes)"
    [ "$runs32" = yes ] && in_root dpkg --add-architecture i386
    # A mirror's lists of a testing release are a dated snapshot.
    in_root apt-get -o Acquire::Check-Valid-Until=false update -qq >"$logs/apt.log" 2>&1 &&
        in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            wine wine64 xvfb xauth fonts-wine >>"$logs/apt.log" 2>&1 ||
        fail "installing Wine in the $release root failed: the download, or a package (log: ${logs#"$here"/}/apt.log)"
    # The 32-bit Wine, where the release has one and the kernel runs it.
    if [ "$runs32" = yes ]; then
        in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            wine32:i386 >>"$logs/apt.log" 2>&1 || echo "record-on: $release has no 32-bit Wine to install; the 64-bit build records"
    fi
    touch "$root/.paintprobe-ready"
else
    mount_root
fi

version=$(in_root wine --version 2>/dev/null || in_root wine64 --version 2>/dev/null) ||
    fail "Wine does not start in the $release root (try: rm -rf $root, and run this again)"
number=$(sed -n 's/^wine-\([0-9]*\.[0-9]*\).*/\1/p' <<<"$version")
[ -n "$number" ] || fail "Wine in the $release root says \"$version\", not a version"
build=win64 loader=wine64 arch=win64
if [ "$runs32" = yes ] && in_root dpkg -s wine32:i386 >/dev/null 2>&1; then
    build=win32 loader=wine arch=win32
fi
[ -n "$prepare_only" ] && { echo "record-on: the $release root is ready: $version, the $build build"; exit 0; }

rm -rf "$root/tmp/paintprobe" && mkdir -p "$root/tmp/paintprobe"
if [ -n "$test_exe" ]; then
    cp "$test_exe" "$root/tmp/paintprobe/test.exe"
    scenario=--run-test
    echo "record-on: running $(basename "$test_exe") under $version"
fi
[ -n "$self_test" ] && scenario=--self-test && echo "record-on: the self-test under $version with the $build build"
cp "$here/build/$build"/{paintprobe.exe,paint_transcript.exe,paint_hook.dll} "$root/tmp/paintprobe/"
suffix=; [ "$release" = sid ] && suffix=-sid
[ -n "$out" ] || out=$here/docs/transcript-wine$number$suffix-$scenario.csv
case $out in /*) ;; *) out=$PWD/$out ;; esac
[ -n "$test_exe$self_test" ] || echo "record-on: recording $scenario under $version with the $build build"
status=0
in_root env LOADER="$loader" ARCH="$arch" SCENARIO="$scenario" bash -s <<'INSIDE' >"$logs/run.log" 2>&1 || status=$?
set -uo pipefail
export WINEPREFIX=/root/wineprefix-$ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=$ARCH
Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:77
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X77 ] && break; sleep 0.1; done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # As the project's own prefix: Wine's fonts where programs look, and one
    # virtual desktop of 1280 x 1024 in which Wine manages the windows.
    DISPLAY= "$LOADER" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot made no prefix"; exit 10; }
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    DISPLAY= "$LOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    DISPLAY= "$LOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
    wineserver -w
fi
wineserver -p
cd /tmp/paintprobe
if [ "$SCENARIO" = --run-test ]; then
    "$LOADER" ./test.exe
    exit
fi
if [ "$SCENARIO" = --self-test ]; then
    "$LOADER" ./paint_transcript.exe --self-test
    exit
fi
"$LOADER" ./paint_transcript.exe --scenario "$SCENARIO" --csv out.csv
INSIDE
if [ -n "$test_exe$self_test" ]; then
    grep -a -v ':fixme:\|:err:' "$logs/run.log" | tr -d '\r'
    exit "$status"
fi
tail -n 5 "$logs/run.log" | tr -d '\r'
case $status in
    0 | 1) ;;  # 1: the hook and the program's count disagree; written all the same
    3 | 4) echo "record-on: the recording was cut short (above); it is kept, marked so" ;;
    10) fail "Wine does not start in the $release root: wineboot made no prefix (log: ${logs#"$here"/}/run.log)" ;;
    *) fail "paint_transcript did not run under $version (status $status; log: ${logs#"$here"/}/run.log)" ;;
esac
[ -s "$root/tmp/paintprobe/out.csv" ] || fail "the program did not run under $version: no transcript (log: ${logs#"$here"/}/run.log)"
cp "$root/tmp/paintprobe/out.csv" "$out"
[ -f "$root/tmp/paintprobe/out.messages.csv" ] && cp "$root/tmp/paintprobe/out.messages.csv" "${out%.csv}.messages.csv"
echo "record-on: wrote ${out#"$here"/} ($(grep -c '^[0-9]' "$out") paints) and its message log"
