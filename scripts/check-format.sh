#!/usr/bin/env bash
# Fails when a C++ file of ours differs from what the project's .clang-format makes of it.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp')
else
  files=$(find src app tests -name '*.h' -o -name '*.cpp' 2>/dev/null)
fi
[ -n "$files" ] || exit 0
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files && echo "formatting: clean"
