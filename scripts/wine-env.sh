# Sourced by the scripts that run Wine: the project's prefix, Wine quiet, and
# never an offer to download Mono or Gecko.
#
# The prefix is the project's own, build/wineprefix, whatever WINEPREFIX says:
# a person's WINEPREFIX names their own prefix, which the project never
# touches. PAINTPROBE_WINEPREFIX names another for the project to use; the
# set-up makes it there, and only ever remakes a prefix that carries the
# project's mark (prefix_mark below).
#
# The set-up records in the prefix which builds this machine can run:
# "win32+win64" where 32-bit programs run, "win64" where they do not (then
# only Wine's 64-bit loader is used, as Debian's `wine` would pick the 32-bit
# one whenever it is installed, whether or not the kernel can run it).
wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PAINTPROBE_WINEPREFIX=${PAINTPROBE_WINEPREFIX:-$wine_env_root/build/wineprefix}
# A test in a lane of scripts/with-lanes.sh: that lane's display, and its copy
# of the prefix where the project's own was to be used (a prefix a wrapper
# chose, at another display scale, stays).
if [ -n "${PAINTPROBE_LANE:-}" ]; then
    if [ ! -f "${PAINTPROBE_LANES:-}/$PAINTPROBE_LANE.env" ]; then
        echo "wine-env: no lane $PAINTPROBE_LANE: run the suites through scripts/test.sh (or scripts/with-lanes.sh)" >&2
        exit 1
    fi
    source "$PAINTPROBE_LANES/$PAINTPROBE_LANE.env"
    export DISPLAY=$lane_display
    [ "$PAINTPROBE_WINEPREFIX" != "$lane_base" ] || PAINTPROBE_WINEPREFIX=$lane_prefix
fi
export WINEPREFIX=$PAINTPROBE_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE32_LOADER=${PAINTPROBE_WINE32_LOADER:-/usr/lib/wine/wine}
WINE64_LOADER=/usr/lib/wine/wine64
wine_mode_file=$WINEPREFIX/paintprobe-mode
# Written into a prefix before anything else, by the set-up that makes it.
prefix_mark=paintprobe-prefix

# Whether a folder is one the project may delete and make anew: its mark (or
# the mode file, which older set-ups wrote last) is there, or it is empty.
prefix_is_ours() {
    [ -e "$1/$prefix_mark" ] || [ -e "$1/paintprobe-mode" ] || [ -z "$(ls -A "$1" 2>/dev/null)" ]
}

# A field of the recorded mode: `wine_mode_field mode` or `wine_mode_field reason`.
wine_mode_field() {
    sed -n "s/^$1=//p" "$wine_mode_file" 2>/dev/null || true
}

WINE_MODE=$(wine_mode_field mode)
if [ "$WINE_MODE" = win64 ]; then
    export WINELOADER=$WINE64_LOADER
    export WINE=$WINE64_LOADER
    PAINTPROBE_BUILD=$wine_env_root/build/win64
else
    export WINE=wine
    PAINTPROBE_BUILD=$wine_env_root/build/win32
fi
export PAINTPROBE_BUILD
wine() { command "$WINE" "$@"; }
