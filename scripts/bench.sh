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

# The Windows program under Wine: its start against a bare Win32 window, and its size stripped.
cmake --preset windows >/dev/null
cmake --build --preset windows --target quelvano figure_start >/dev/null
strip_dir=$(mktemp -d)
x86_64-w64-mingw32-strip -o "$strip_dir/quelvano.exe" "$root/build/windows/app/quelvano.exe"
echo "exe_size_kb: $(( $(stat -c %s "$strip_dir/quelvano.exe") / 1024 )) KiB"
rm -rf "$strip_dir"
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display"
fi
source "$root/scripts/wine-prefix.sh"
prepare_wine_prefix >/dev/null
wine "$root/build/windows/tests/e2e/figure_start.exe"
wineserver -k 2>/dev/null || true
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit 0
