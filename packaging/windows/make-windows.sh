#!/usr/bin/env bash
# The Windows artifacts from the release build: the setup file (NSIS) and the portable zip.
# Usage: make-windows.sh VERSION BUILD_DIR DIST_DIR
set -euo pipefail
version=$1 build=$2 dist=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The wizard's side picture on the first and last pages, grown at the foot in its own bottom
# colour to the height those pages want.
side=$here/../../resources/wizard-side.bmp
foot=$(convert "$side" -format "%[pixel:p{0,$(($(identify -format %h "$side") - 1))}]" info:)
convert "$side" -background "$foot" -gravity north -extent 164x314 "BMP3:$stage/side.bmp"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DBINDIR="$build/app" \
  -DICON="$build/icons/quelvano.ico" -DSIDE="$stage/side.bmp" \
  -DOUTFILE="$dist/quelvano-$version-win64-setup.exe" "$here/quelvano.nsi"

# The zip holds one folder, Quelvano, with both programs and LEEME.txt (CRLF, for Notepad).
mkdir "$stage/Quelvano"
cp "$build/app/quelvano.exe" "$build/app/quelvanoctl.exe" "$stage/Quelvano/"
sed "s/@VERSION@/$version/g; s/\$/\r/" "$here/LEEME.txt" >"$stage/Quelvano/LEEME.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/Quelvano" "$stage/Quelvano/"*
(cd "$stage" && zip -q -X -9 "$dist/quelvano-$version-win64.zip" Quelvano/LEEME.txt \
   Quelvano/quelvano.exe Quelvano/quelvanoctl.exe)
