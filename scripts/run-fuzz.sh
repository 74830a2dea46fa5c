#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds (default 60) on a scratch copy of its seed corpus,
# as many at once as there are processors (each fuzzer uses one).
# Usage: scripts/run-fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
targets=(TankFile AliasFile SetFile ValueText CsvTable)
processors=$(nproc)

# New inputs go to the scratch folder; the committed seeds are only read.
fuzz() {
  local target=$1 status=0
  mkdir -p "$corpus/$target"
  "$build/fuzz/fuzz$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$corpus/$target-" \
    "$corpus/$target" "$root/tests/data/fuzz/$target" >"$corpus/$target.log" 2>&1 || status=$?
  echo "$status" >"$corpus/$target.status"
}

for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$processors" ]; do
    wait -n || true
  done
  fuzz "$target" &
done
wait

# Reported in a fixed order once all are done, so the output does not depend on timing.
failed=0
passed=0
for target in "${targets[@]}"; do
  log="$corpus/$target.log"
  if [ "$(cat "$corpus/$target.status")" = 0 ]; then
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
