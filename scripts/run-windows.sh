#!/usr/bin/env bash
# Builds quelvano.exe and starts it under Wine, in the project's private prefix, on the display
# in $DISPLAY.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target quelvano
source scripts/wine-prefix.sh
prepare_wine_prefix
exec scripts/wine-run.sh build/windows/app/quelvano.exe
