#!/usr/bin/env bash
# Installs what building and testing need, then makes the Wine prefix.
# Idempotent: a second run only checks and returns.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
prefix=$WINEPREFIX

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 cmake ninja-build
          make xvfb xauth googletest x11-utils imagemagick fonts-wine)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]} (this takes a minute or two)"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# One 64-bit prefix runs both the 32-bit and the 64-bit builds. A prefix made
# before (32-bit only) is made anew.
if [ -f "$prefix/system.reg" ] && ! grep -q '^#arch=win64' "$prefix/system.reg"; then
    echo "setup: the Wine prefix is 32-bit only; making a new one"
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
if [ ! -f "$prefix/system.reg" ]; then
    echo "setup: creating the Wine prefix in $prefix (first use takes about 20 s)"
    mkdir -p "$prefix"
    # Empty overrides keep Wine from offering to download Mono or Gecko.
    WINEARCH=win64 \
        DISPLAY= wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    [ -f "$prefix/system.reg" ] || { echo "setup: Wine prefix was not created" >&2; exit 1; }
fi

# Debian's Wine does not look in its own font folder; without these, window
# captions lose their button glyphs and dialogs fall back to another face.
fonts=$prefix/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/* "$fonts/"
fi

# Every program in this prefix runs inside one Wine virtual desktop. Wine then
# manages the windows itself: edges can be dragged without a window manager,
# and closing a window does not wait on one.
if ! grep -q '^"Desktop"="Default"' "$prefix/user.reg" 2>/dev/null; then
    echo "setup: giving the Wine prefix a virtual desktop"
    reg() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
    wineserver -w
    grep -q '^"Desktop"="Default"' "$prefix/user.reg" ||
        { echo "setup: could not set the virtual desktop" >&2; exit 1; }
fi
