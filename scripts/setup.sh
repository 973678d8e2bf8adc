#!/usr/bin/env bash
# Installs what the build and the tests need and prepares the SQLite amalgamation for the Windows
# build. Safe to run again: it only does what is still missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${QUELVANO_CACHE_DIR:-$root/.cache}

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick
  # Wine's Tahoma gives dialogs the dialog units of Windows; Liberation Mono stands for Courier New.
  fonts-wine fonts-liberation
  libgtest-dev googletest libbenchmark-dev libsqlite3-dev sqlite3
  tcl dpkg-dev iproute2 pkgconf libsystemd-dev dbus-daemon librsvg2-bin icoutils
  # The Linux front end: Qt Widgets and Qt Test, uic and moc; the offscreen platform is in libqt6gui6.
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  # A small XEmbed system tray and a pointer and keyboard from outside, for the tray's end-to-end test.
  trayer xdotool
  # The release (scripts/package.sh): the setup file, the zip, the Debian package and their checks.
  nsis zip unzip lintian appstream man-db
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Windows build compiles SQLite from the amalgamation, which Debian ships only as its source
# package; build it from that source once and keep it in the cache.
if [ ! -s "$cache/sqlite/sqlite3.c" ] || [ ! -s "$cache/sqlite/sqlite3.h" ]; then
  srclist=/etc/apt/sources.list.d/quelvano-deb-src.sources
  if [ ! -f "$srclist" ]; then
    echo "setup: adding Debian source entries"
    as_root tee "$srclist" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    as_root apt-get update -q
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  echo "setup: generating the SQLite amalgamation"
  (cd "$work" && apt-get source -q --download-only sqlite3 >/dev/null 2>&1 \
     && dpkg-source -x ./sqlite3_*.dsc src >/dev/null 2>&1)
  (cd "$work/src" && ./configure --disable-shared >/dev/null && make -s sqlite3.c >/dev/null)
  mkdir -p "$cache/sqlite"
  cp "$work/src/sqlite3.c" "$work/src/sqlite3.h" "$cache/sqlite/"
  sed -n 's/^#define SQLITE_VERSION  *"\(.*\)"/\1/p' "$cache/sqlite/sqlite3.h" > "$cache/sqlite/VERSION"
  echo "setup: SQLite $(cat "$cache/sqlite/VERSION") amalgamation in $cache/sqlite"
fi
