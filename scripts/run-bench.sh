#!/usr/bin/env bash
# Runs every benchmark program of BUILD_DIR/bench and prints one table: each figure beside its
# baseline (the benchmark of the same name with the suffix _Baseline) and the ratio; then the
# counters that benchmarks report (such as bytes per template), each beside its baseline's.
# Usage: scripts/run-bench.sh BUILD_DIR
set -euo pipefail
build=$1
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for program in "$build"/bench/bench*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  QT_QPA_PLATFORM=offscreen "$program" --benchmark_format=csv 2>/dev/null >>"$results"
done
awk -F, '
  function unit_to_us(value, unit) {
    if (unit == "ns") return value / 1000
    if (unit == "ms") return value * 1000
    if (unit == "s") return value * 1000000
    return value
  }
  # Each program prints its own header; columns after the tenth are its counters.
  $1 == "name" {
    delete counter
    for (i = 11; i <= NF; i++) { counter[i] = $i; gsub(/"/, "", counter[i]) }
    next
  }
  {
    # Options such as /min_time:2.000/real_time follow the name; the pairing ignores them.
    name = $1; gsub(/"/, "", name); sub(/\/.*/, "", name)
    time[name] = unit_to_us($3, $5)
    order[++n] = name
    for (i in counter) {
      if ($i == "") continue
      if (!((name, counter[i]) in value)) names[name] = names[name] " " counter[i]
      value[name, counter[i]] = $i
    }
  }
  END {
    printf "%-44s %14s %14s %8s\n", "benchmark", "time (us)", "baseline (us)", "ratio"
    for (i = 1; i <= n; i++) {
      name = order[i]
      if (name ~ /_Baseline$/) continue
      base = name "_Baseline"
      if (base in time)
        printf "%-44s %14.2f %14.2f %8.2f\n", name, time[name], time[base], time[name] / time[base]
      else
        printf "%-44s %14.2f %14s %8s\n", name, time[name], "-", "-"
    }
    header = 0
    for (i = 1; i <= n; i++) {
      name = order[i]
      if (name ~ /_Baseline$/ || !(name in names)) continue
      if (!header++)
        printf "\n%-44s %-22s %14s %14s\n", "benchmark", "counter", "value", "baseline"
      base = name "_Baseline"
      count = split(substr(names[name], 2), list, " ")
      for (k = 1; k <= count; k++) {
        c = list[k]
        printf "%-44s %-22s %14.2f %14s\n", name, c, value[name, c],
          ((base, c) in value) ? sprintf("%.2f", value[base, c]) : "-"
      }
    }
  }' "$results"
