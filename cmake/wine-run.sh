#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix, quietly, with
# the loader the set-up chose for this machine.
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env.sh"
exec "$WINE" "$@"
