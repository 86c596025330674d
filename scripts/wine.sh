#!/usr/bin/env bash
# Runs a program of this project under Wine, in the project's prefix, with
# the loader that runs on this machine. Where the kernel runs no 32-bit
# programs, `wine` itself fails ("Exec format error": Debian's `wine` starts
# the 32-bit loader first, whatever the program); there a program named in
# build/win32 is run from build/win64, and that is said.
# usage: scripts/wine.sh PROGRAM.exe [ARGS...]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
program=${1:?usage: scripts/wine.sh PROGRAM.exe [ARGS...]}
shift
if [ "$WINE_MODE" = win64 ] && [[ $program == *build/win32/* ]]; then
    program=${program/build\/win32\//build\/win64\/}
    echo "wine.sh: this machine runs no 32-bit programs: running $program" >&2
fi
exec "$WINE" "$program" "$@"
