#!/usr/bin/env bash
# The Windows artifacts from the release build: the setup file (NSIS) and the portable zip.
# Usage: make-windows.sh VERSION BUILD_DIR DIST_DIR
set -euo pipefail
version=$1 build=$2 dist=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DBINDIR="$build/app" \
  -DICON="$build/icons/quelvano.ico" -DOUTFILE="$dist/quelvano-$version-win64-setup.exe" \
  "$here/quelvano.nsi"

# The zip holds one folder, Quelvano, with both programs and LEEME.txt (CRLF, for Notepad).
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Quelvano"
cp "$build/app/quelvano.exe" "$build/app/quelvanoctl.exe" "$stage/Quelvano/"
sed "s/@VERSION@/$version/g; s/\$/\r/" "$here/LEEME.txt" >"$stage/Quelvano/LEEME.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/Quelvano" "$stage/Quelvano/"*
(cd "$stage" && zip -q -X -9 "$dist/quelvano-$version-win64.zip" Quelvano/LEEME.txt \
   Quelvano/quelvano.exe Quelvano/quelvanoctl.exe)
