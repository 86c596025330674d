#!/usr/bin/env bash
# The built-in scenarios as a scenario file: --list-scenarios prints what
# docs/scenarios.scenario holds, and that file, played with --scenario-file,
# paints exactly what the built-in `all` painted (docs/transcript-wine-all.csv).
# usage: scenario_file_test.sh PAINT_TRANSCRIPT.exe
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
run() { timeout 120 "$here/cmake/wine-run.sh" "$1" "${@:2}"; }

# docs/scenarios.scenario is what docs/scenarios.md shows a reader: it must
# stay what --list-scenarios prints.
check "--list-scenarios prints docs/scenarios.scenario" "$(cat "$here/docs/scenarios.scenario")" \
    "$(run "$1" --list-scenarios | tr -d '\r')"
out=$(run "$1" --quiet --scenario-file "$here/docs/scenarios.scenario" \
          --check "$here/docs/transcript-wine-all.csv" | tr -d '\r')
check "the file played: the paints of the built-in scenarios" "0 same" "$? ${out##*: }"
finish
