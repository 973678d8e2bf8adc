#!/usr/bin/env bash
# Runs a Windows executable under Wine in the project's private prefix (build/windows/wineprefix,
# or $WINEPREFIX when set). Used as CMake's cross-compiling emulator; scripts/test.sh creates the
# prefix and provides DISPLAY.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
