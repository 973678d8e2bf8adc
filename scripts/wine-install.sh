#!/usr/bin/env bash
# wine-install.sh FILE NAME: copies FILE into the system folder (C:\windows\system32) of the prefix
# that scripts/wine-run.sh uses, as NAME, making the prefix first when it is missing. Tests put
# their stand-ins for system programs there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-prefix.sh"
wine_environment
make_wine_prefix
cp "$1" "$WINEPREFIX/drive_c/windows/system32/$2"
