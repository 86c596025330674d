#!/usr/bin/env bash
# Runs the transcript fuzz target for a bounded time, seeded with the
# transcripts and scenarios in docs/ and tests/data/, in a corpus folder of
# its own (the fuzzer adds to its first folder, so the seeds stay untouched).
# usage: run.sh FUZZ_TARGET SECONDS SOURCE_DIR
set -euo pipefail
corpus=$(dirname "$1")/fuzz-corpus
mkdir -p "$corpus"
cp "$3"/docs/*.csv "$3"/docs/*.scenario "$3"/tests/data/*.csv "$3"/tests/fuzz/seeds/* "$corpus/"
exec "$1" -max_total_time="$2" -timeout=10 -max_len=65536 -print_final_stats=1 "$corpus"
