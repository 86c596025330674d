#!/usr/bin/env bash
# Runs a Windows test program with the Wine prefix reporting another Windows
# version (winxp, win7, win10, ...), then puts the prefix back as it was.
set -euo pipefail
version=$1
shift
run=$(cd "$(dirname "$0")/../cmake" && pwd)/wine-run.sh
key='HKCU\Software\Wine'
"$run" reg add "$key" /v Version /t REG_SZ /d "$version" /f >/dev/null
trap '"$run" reg delete "$key" /v Version /f >/dev/null 2>&1 || true' EXIT
"$run" "$@"
