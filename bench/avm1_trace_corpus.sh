#!/bin/bash
# Runs every test of the script corpus through `corvella-cli trace` with the
# corpus's clock and frame counts and prints the scorer's summary.
#   bench/avm1_trace_corpus.sh [CLI] [OUT_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/corvella-cli}
out=${2:-$root/build/avm1-trace-out}
corpus=$root/../shared/corpus/avm1-trace
mkdir -p "$out"
tail -n +2 "$corpus/INDEX.tsv" | while IFS=$'\t' read -r name frames _; do
  timeout 20 "$cli" trace "$corpus/$name/test.swf" --frames "$frames" \
    --clock 2001-02-03T04:05:06+05:45 > "$out/$name.txt" 2>/dev/null
done
python3 "$root/../shared/tools/trace_score.py" "$corpus" "$out" | tail -3
