#!/usr/bin/env bash
# The tests of the release's artifacts, run by scripts/package.sh --test: each script below is one
# test. Screenshots of the setup's pages and of the installed programs go to
# build/package-screenshots/. Ends with "N passed, N failed".
# Usage: run.sh VERSION DIST
set -u
version=$1 dist=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
shots=$root/build/package-screenshots
rm -rf "$shots"
mkdir -p "$shots"
passed=0
failed=0
for test in windows debian; do
  echo "== package test: $test"
  if bash "$root/tests/package/$test.sh" "$version" "$dist" "$shots"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
echo "screenshots: $shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
