#!/bin/bash
# Renders every test of the render corpora with `corvella-cli render` at the
# quality its test.toml asks for (high when it names none) after the frame
# count of the corpus INDEX, scores them and prints each summary, with the
# reference corpus's counts per tier.
#   bench/render_corpus.sh [CLI] [OUT_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/corvella-cli}
out=${2:-$root/build/render-out}
shared=$root/../shared
quality_of() {
  local q
  q=$(sed -n 's/.*quality *= *"\([a-z]*\)".*/\1/p' "$1/test.toml" 2>/dev/null | head -1)
  case "$q" in low|medium) echo "$q" ;; *) echo high ;; esac
}
for corpus in ${CORPORA:-render render-peer}; do
  dir=$shared/corpus/$corpus
  mkdir -p "$out/$corpus"
  frames_col=$(head -1 "$dir/INDEX.tsv" | tr '\t' '\n' | grep -n '^frames$' | cut -d: -f1)
  tail -n +2 "$dir/INDEX.tsv" | while IFS= read -r line; do
    name=$(cut -f1 <<<"$line")
    frames=$(cut -f"$frames_col" <<<"$line")
    rm -f "$out/$corpus/$name.png"
    timeout 20 "$cli" render "$dir/$name/test.swf" --frames "$frames" \
      --quality "$(quality_of "$dir/$name")" --out "$out/$corpus/$name.png" >/dev/null 2>&1
  done
  python3 "$shared/tools/render_score.py" "$dir" "$out/$corpus" > "$out/$corpus.txt"
  if [ "${VERBOSE:-0}" = 1 ]; then head -n -2 "$out/$corpus.txt"; fi
  tail -2 "$out/$corpus.txt" | head -1
done
# Per tier of the reference corpus.
awk -F'\t' 'NR == FNR { if (FNR > 1) tier[$1] = $2; next }
  $2 ~ /^(pass|close|fail)$/ { n[tier[$1] " " $2]++; t[tier[$1]]++ }
  END { for (k in t) printf "tier %s: %d passed, %d close of %d\n", k, n[k " pass"], n[k " close"], t[k] }' \
  "$shared/corpus/render/INDEX.tsv" <(awk '{print $1 "\t" $2}' "$out/render.txt") | sort
