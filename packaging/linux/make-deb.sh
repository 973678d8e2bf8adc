#!/usr/bin/env bash
# The Debian package from the Linux release build: what `cmake --install` puts under /usr (the
# programs, the desktop entry, the icon), the AppStream metainfo, the manual pages and the
# package's own documents, with the dependencies that dpkg-shlibdeps finds.
# Usage: make-deb.sh VERSION BUILD_DIR DIST_DIR
set -euo pipefail
version=$1 build=$2 dist=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
date=$(date -u -d "@$SOURCE_DATE_EPOCH" +%F)
fill() { sed "s/@VERSION@/$version/g; s/@DATE@/$date/g" "$@"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
umask 022
stage=$work/quelvano
DESTDIR=$stage cmake --install "$build" --prefix /usr --strip >/dev/null

metainfo=example.quelvano.Quelvano.metainfo.xml
mkdir -p "$stage/usr/share/metainfo" "$stage/usr/share/man/man1" "$stage/usr/share/doc/quelvano"
fill "$here/$metainfo.in" >"$stage/usr/share/metainfo/$metainfo"
for page in quelvano quelvanoctl; do
  fill "$here/$page.1.in" | gzip -9n >"$stage/usr/share/man/man1/$page.1.gz"
done
cp "$here/copyright" "$stage/usr/share/doc/quelvano/copyright"
sed "s/@VERSION@/$version/; s/@DATE@/$(date -u -R -d "@$SOURCE_DATE_EPOCH")/" "$here/changelog.in" \
  | gzip -9n >"$stage/usr/share/doc/quelvano/changelog.Debian.gz"

# dpkg-shlibdeps reads the package's names from a source tree's debian/control.
mkdir -p "$work/src/debian"
printf 'Source: quelvano\n\nPackage: quelvano\nArchitecture: amd64\n' >"$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O -e"$stage/usr/bin/quelvano" \
            -e"$stage/usr/bin/quelvanoctl" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies"; exit 1; }

mkdir -p "$stage/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
fill "$here/control.in" | sed "s/@SIZE@/$size/; s/@DEPENDS@/$depends/" >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$stage" "$dist/quelvano_${version}-1_amd64.deb" >/dev/null
