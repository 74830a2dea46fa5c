#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds (default 60) on a scratch copy of its seed corpus.
# Usage: scripts/run-fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
failed=0
passed=0
for target in TankFile AliasFile SetFile ValueText CsvTable; do
  mkdir -p "$corpus/$target"
  log="$corpus/$target.log"
  # New inputs go to the scratch folder; the committed seeds are only read.
  if "$build/fuzz/fuzz$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$corpus/$target-" \
      "$corpus/$target" "$root/tests/data/fuzz/$target" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1)
    echo "fuzz$target: ${runs:-done}, nothing found"
    passed=$((passed + 1))
  else
    echo "fuzz$target: FAILED"
    tail -n 40 "$log"
    for artifact in "$corpus/$target"-*; do
      [ -e "$artifact" ] && { echo "input:"; od -c "$artifact" | head -20; }
    done
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
