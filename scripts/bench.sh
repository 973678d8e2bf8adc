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
# The network change's figure needs NetworkManager: it runs in its sandbox, a few seconds.
bash "$root/tests/ipset/linux/nm-apply.sh" "$root/build/bench/tests/bench/sandbox_change_figure" |
  grep '^change_to_refresh_ms' || true

# The Windows controls' figures run under Wine, on a private X server started here.
cmake --preset bench-windows >/dev/null
cmake --build --preset bench-windows --target figure_trees_win32 figure_start >/dev/null
strip_dir=$(mktemp -d)
x86_64-w64-mingw32-strip -o "$strip_dir/quelvano.exe" "$root/build/bench-windows/app/quelvano.exe"
echo "exe_size_kb: $(( $(stat -c %s "$strip_dir/quelvano.exe") / 1024 )) KiB"
rm -rf "$strip_dir"
xvfb_pid=""
stop_windows() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap stop_windows EXIT
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-prefix.sh"
start_xvfb
prepare_wine_prefix
cp "$root/build/bench-windows/tests/bench/iphlpapi.dll" "$WINEPREFIX/drive_c/windows/system32/"
wine "$root/build/bench-windows/tests/bench/figure_trees_win32.exe" | tr -d '\r'
wine "$root/build/bench-windows/tests/bench/figure_start.exe" | tr -d '\r'
exit 0
