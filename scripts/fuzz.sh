#!/bin/bash
# Runs one libFuzzer harness for a short time.
#   fuzz.sh FUZZ_BUILD_DIR NAME [SECONDS]
# Seeds: fuzz/seeds/NAME/ and the files in fuzz/NAME.dirs: one "FOLDER
# [PATTERN]" per line, the folder relative to the repository, files up to
# 1 MiB whose names match PATTERN (default: all). Findings are
# written to FUZZ_BUILD_DIR/findings/NAME/ and fail the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath "$1") name=$2 seconds=${3:-${CORVELLA_FUZZ_SECONDS:-40}}
corpus=$dir/corpus/$name findings=$dir/findings/$name
mkdir -p "$corpus" "$findings"
if [ -d "$root/fuzz/seeds/$name" ]; then cp -rf "$root/fuzz/seeds/$name/." "$corpus/"; fi
if [ -f "$root/fuzz/$name.dirs" ]; then
  while read -r seed_dir pattern; do
    [ -n "$seed_dir" ] && [ -d "$root/$seed_dir" ] || continue
    find "$root/$seed_dir" -type f -size -1025k -name "${pattern:-*}" -print0 |
      while IFS= read -r -d '' f; do cp -f "$f" "$corpus/seed-$(printf '%s' "$f" | md5sum | cut -c1-16)"; done
  done < "$root/fuzz/$name.dirs"
fi
cd "$findings"
exec "$dir/$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len=1048576 \
  -print_final_stats=1 -artifact_prefix="$findings/" "$corpus"
