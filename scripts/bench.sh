#!/usr/bin/env bash
# Builds the benchmarks optimised and prints one "name: value unit" line per figure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
# Google Benchmark: per-iteration real time of each benchmark, in nanoseconds unless it says.
"$root/build/bench/tests/bench/bench_quelvano" --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 && $1 !~ /^"?name/ {gsub(/"/, "", $1); printf "%s_ns: %.1f ns\n", $1, $3}'
# Further benchmarks print their own figure lines.
for b in "$root"/build/bench/tests/bench/figure_*; do
  [ -x "$b" ] && "$b"
done
exit 0
