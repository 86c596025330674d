#!/usr/bin/env bash
# Installs what building and testing need, finds out whether this machine
# runs 32-bit programs, and makes the Wine prefix to match.
# Idempotent: a second run only checks and returns.
#
# PAINTPROBE_FORCE_WIN64=1 takes the 64-bit path even where 32-bit programs
# run: the 32-bit loader is then not started at all.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
prefix=$WINEPREFIX

fail() {
    printf 'setup: %s\n' "$@" >&2
    exit 1
}

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 cmake ninja-build
          make xvfb xauth googletest x11-utils imagemagick fonts-wine chromium openbox
          clang libclang-rt-14-dev libreoffice-calc xdotool)
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing() {
    local p
    for p in "${packages[@]}"; do have "$p" || echo "$p"; done
}

# A suite whose list stays stale (an i386 list a sync behind its amd64 one)
# leaves the packages of both architectures at versions that do not match.
# Then the suites that failed are left out altogether, in sources and lists
# of the project's own: the person's sources and package lists stay as
# they are.
install_without_failed_suites() {
    local dir=$here/build/apt-sources left
    left=$("$here/scripts/sources-without.sh" "$log" "$dir") || return 0
    echo "setup: installing without what did not come: ${left//$'\n'/, }" >&2
    mkdir -p "$dir/lists/partial"
    local apt=(-o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts="$dir/parts"
               -o Dir::State::Lists="$dir/lists" -o Dir::Cache::pkgcache=
               -o Dir::Cache::srcpkgcache=)
    "${sudo[@]}" apt-get "${apt[@]}" update -qq -o Acquire::Retries=3 >>"$log" 2>&1 || true
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${apt[@]}" install -y -qq \
        --no-install-recommends "$@" >>"$log" 2>&1 || true
}

install_packages() {
    local need
    mapfile -t need < <(missing)
    [ ${#need[@]} -gt 0 ] || return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null ||
            fail "these packages are missing: ${need[*]}" \
                 "installing them needs root, and this user is not root and has no sudo." \
                 "As root, run: dpkg --add-architecture i386 && apt-get update &&" \
                 "apt-get install ${need[*]}; then run make again."
        sudo=(sudo)
    fi
    echo "setup: installing ${need[*]} (this takes a minute or two)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386 ||
            fail "could not enable i386 packages (dpkg --add-architecture i386 failed);" \
                 "wine32:i386 needs them. Run it as root, then run make again."
    fi
    mkdir -p "$here/build"
    local log=$here/build/apt.log
    # A mirror in mid-sync fails one index now and then: try again, and if
    # one list still will not come, install from the lists that did.
    local updated= hint="The package lists could not all be fetched: check the network and /etc/apt/sources.list."
    for try in 1 2 3; do
        "${sudo[@]}" apt-get update -qq -o Acquire::Retries=3 >"$log" 2>&1 && { updated=1 hint=; break; }
        [ "$try" = 3 ] || sleep $((try * 10))
    done
    if [ -z "$updated" ]; then
        grep '^E:' "$log" | head -n 3 >&2
        echo "setup: apt-get update failed three times (whole log: $log); installing from the package lists it did fetch" >&2
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${need[@]}" >>"$log" 2>&1 || true
    mapfile -t need < <(missing)
    [ ${#need[@]} -eq 0 ] || [ -n "$updated" ] || install_without_failed_suites "${need[@]}"
    mapfile -t need < <(missing)
    if [ ${#need[@]} -gt 0 ]; then
        tail -n 8 "$log" >&2
        fail "these packages did not install: ${need[*]}" \
             "(apt-get's last words above; whole log: $log)." \
             ${hint:+"$hint"} \
             "Install them by hand with apt-get, then run make again."
    fi
}

# Which builds run here, found by trying the 32-bit loader once.
choose_mode() {
    if [ -n "${PAINTPROBE_FORCE_WIN64:-}" ]; then
        mode=win64 reason="PAINTPROBE_FORCE_WIN64 is set"
        return
    fi
    local status=0
    "$WINE32_LOADER" --version >/dev/null 2>&1 || status=$?
    if [ "$status" -eq 0 ]; then
        mode=win32+win64 reason="this machine runs 32-bit programs"
    elif [ "$status" -eq 126 ]; then
        mode=win64 reason="this kernel cannot run 32-bit programs (32-bit emulation is off)"
    else
        mode=win64 reason="Wine's 32-bit loader $WINE32_LOADER does not start (exit $status)"
    fi
}

remove_prefix() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
}

make_prefix() {
    echo "setup: creating the Wine prefix in $prefix for $mode (first use takes about 20 s)"
    mkdir -p "$prefix"
    # First of all: whatever stops the set-up from here, the folder is ours.
    echo "made by paintprobe's set-up, which may delete and make it anew" >"$prefix/$prefix_mark"
    unset WINELOADER
    local log=$prefix/../wineboot.log loader=(wine)
    # Debian's `wine` picks the 32-bit loader whenever it is installed, so the
    # 64-bit path names the 64-bit one. Its complaints about the 32-bit half
    # of the prefix are harmless for 64-bit programs.
    [ "$mode" = win64 ] && loader=(env WINELOADER="$WINE64_LOADER" "$WINE64_LOADER")
    WINEARCH=win64 DISPLAY= "${loader[@]}" wineboot --init >"$log" 2>&1 || true
    wineserver -w 2>/dev/null || true
    if [ ! -f "$prefix/system.reg" ] || ! grep -q '^#arch=win64' "$prefix/system.reg"; then
        tail -n 5 "$log" >&2
        remove_prefix
        fail "could not create the Wine prefix in $prefix with ${loader[*]} wineboot" \
             "(its last words above; whole log: $log). Check that the loader starts" \
             "(${loader[-1]} --version), then run make again."
    fi

    # Debian's Wine does not look in its own font folder; without these,
    # window captions lose their button glyphs and dialogs use another face.
    mkdir -p "$prefix/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"

    # Every program in this prefix runs inside one Wine virtual desktop. Wine
    # then manages the windows itself: edges can be dragged without a window
    # manager, and closing a window does not wait on one.
    reg() { DISPLAY= "${loader[@]}" reg add "$@" /f >/dev/null 2>&1; }
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
    wineserver -w 2>/dev/null || true
    grep -q '^"Desktop"="Default"' "$prefix/user.reg" 2>/dev/null ||
        { remove_prefix; fail "could not give the Wine prefix its virtual desktop" \
                              "(wine reg add failed); run make again."; }
}

install_packages
choose_mode

# A folder the project did not make is a person's: it is never touched.
if [ -d "$prefix" ] && ! prefix_is_ours "$prefix"; then
    fail "$prefix holds files and no $prefix_mark, so it is not a prefix this project made and is left as it is; name a new or empty folder in PAINTPROBE_WINEPREFIX, or unset it to use build/wineprefix."
fi
# The record is written last: a prefix of ours without one was left
# half-made, and one made for the other kind of machine is made anew.
made_for=$(wine_mode_field mode)
if [ -d "$prefix" ] && [ "$made_for" != "$mode" ]; then
    if [ -z "$made_for" ]; then
        echo "setup: the Wine prefix in $prefix is incomplete; making it anew"
    else
        echo "setup: the Wine prefix was made for $made_for, this machine now runs $mode; making it anew"
    fi
    remove_prefix
fi
[ -f "$wine_mode_file" ] || make_prefix
[ "$(wine_mode_field reason)" = "$reason" ] ||
    printf 'mode=%s\nreason=%s\n' "$mode" "$reason" >"$wine_mode_file"
