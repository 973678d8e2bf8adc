#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each (the address validators, the JSON reader) for the
# given number of seconds.
#   scripts/fuzz.sh [seconds]      (default 60)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# fuzz TARGET SEED MAX_LEN: runs one target on its own corpus, seeded when empty.
fuzz() {
  local corpus=$root/build/fuzz/corpus/$1
  mkdir -p "$corpus"
  [ -n "$(ls -A "$corpus")" ] || printf '%s' "$2" >"$corpus/seed"
  "$root/build/fuzz/tests/fuzz/fuzz_$1" -max_total_time="$seconds" -max_len="$3" \
    -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
}
fuzz address '192.168.1.1' 64
fuzz ipv6 '2001:db8::1' 64
fuzz json '{"format": "quelvano-ipsets", "version": 1, "ipSets": [{"name": "a\u00f1", "dhcp": true}]}' 512
