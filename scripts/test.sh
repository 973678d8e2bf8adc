#!/usr/bin/env bash
# The test command: installs what is missing, builds the Linux and Windows targets, runs every test
# natively and under Wine, runs the fuzzer for a while, and ends with "N passed, N failed".
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
fuzz_seconds=${QUELVANO_FUZZ_SECONDS:-30}

passed=0
failed=0
skipped=0
xvfb_pid=""

step() { printf '\n== %s\n' "$*"; }
count_check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi; }

finish() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then wineserver -k 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  echo
  if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
  else
    echo "$passed passed, $failed failed"
  fi
  [ "$failed" -eq 0 ]
  exit $?
}
trap finish EXIT

# Reads an attribute of the root element of a GoogleTest XML report (0 when absent).
xml_attr() {
  local v
  v=$(grep -m1 -o "<testsuites [^>]*" "$2" | grep -o " $1=\"[0-9]*\"" | grep -o '[0-9]\+')
  echo "${v:-0}"
}

# Adds up one build folder's results: the cases of each GoogleTest report, or one per other test.
# A test that CTest saw fail counts at least one failure, even when it died before its report.
tally() {
  local dir=$1 name xml t f s lastfailed=$1/Testing/Temporary/LastTestsFailed.log
  while read -r name; do
    xml=$dir/test-results/$name.xml
    local ctest_failed=0
    [ -f "$lastfailed" ] && grep -qx "[0-9]*:$name" "$lastfailed" && ctest_failed=1
    if [ -f "$xml" ]; then
      t=$(xml_attr tests "$xml")
      f=$(( $(xml_attr failures "$xml") + $(xml_attr errors "$xml") ))
      s=$(( $(xml_attr disabled "$xml") + $(xml_attr skipped "$xml") ))
      if [ "$ctest_failed" -eq 1 ] && [ "$f" -eq 0 ]; then f=1; fi
      passed=$((passed + t - f - s))
      failed=$((failed + f))
      skipped=$((skipped + s))
    elif [ "$ctest_failed" -eq 1 ]; then
      failed=$((failed + 1))
    else
      passed=$((passed + 1))
    fi
  done < <(ctest --test-dir "$dir" -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: *//p')
}

run_preset() {
  local preset=$1 dir=$root/build/$1
  step "build: $preset"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; }; then
    echo "build of $preset failed"
    failed=$((failed + 1))
    return 1
  fi
  step "tests: $preset"
  rm -rf "$dir/test-results" "$dir/Testing/Temporary/LastTestsFailed.log"
  mkdir -p "$dir/test-results"
  # Wine tests run one at a time: they share one prefix and its wineserver.
  local jobs=2
  [ "$preset" = windows ] && jobs=1
  ctest --preset "$preset" -j"$jobs" --timeout 300
  tally "$dir"
}

source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-prefix.sh"

step "setup"
bash scripts/setup.sh || { failed=$((failed + 1)); exit 1; }

step "format"
count_check bash scripts/check-format.sh

run_preset linux

if start_xvfb && prepare_wine_prefix; then
  run_preset windows
else
  echo "could not start Xvfb and Wine"
  failed=$((failed + 1))
fi

step "fuzz: ${fuzz_seconds}s"
count_check bash scripts/fuzz.sh "$fuzz_seconds"
