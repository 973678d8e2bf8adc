#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs the address fuzzer for the given number of seconds.
#   scripts/fuzz.sh [seconds]      (default 60)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
corpus=$root/build/fuzz/corpus/address
mkdir -p "$corpus"
[ -n "$(ls -A "$corpus")" ] || printf '192.168.1.1' >"$corpus/seed"
"$root/build/fuzz/tests/fuzz/fuzz_address" -max_total_time="$seconds" -max_len=64 \
  -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
