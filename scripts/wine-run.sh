#!/usr/bin/env bash
# Runs a Windows executable under Wine in the project's private prefix (build/windows/wineprefix,
# or $WINEPREFIX when set). Used as CMake's cross-compiling emulator; scripts/test.sh creates the
# prefix and provides DISPLAY.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-prefix.sh"
wine_environment
exec wine "$@"
