#!/usr/bin/env bash
# Makes the release from the tree into dist/: the per-user Windows setup, the portable zip, the
# Debian package and SHA256SUMS, from release builds (optimised, stripped, no sanitizers) of both
# platforms. The version is the one of CMakeLists.txt. With --test it then installs every artifact
# as a user would and checks it (tests/package/), ending with "N passed, N failed".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
dist=$root/dist
run_tests=0
[ "${1:-}" = --test ] && run_tests=1

bash scripts/setup.sh

# The release build of one platform; its build folder.
release_build() {
  cmake --preset "release-$1" >/dev/null
  cmake --build --preset "release-$1"
}

echo "== Windows release build"
release_build windows
win=$root/build/release-windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no version in $win/CMakeCache.txt"; exit 1; }

echo "== Linux release build"
# Debian's own compiler and linker flags for what it packages (hardening among them).
(
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
  export CXXFLAGS CFLAGS LDFLAGS
  release_build linux
)

rm -rf "$dist"
mkdir -p "$dist"
# Every file of a release carries the time of the commit it was made from.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH

echo "== Windows setup and zip"
bash packaging/windows/make-windows.sh "$version" "$win" "$dist"

echo "== Debian package"
bash packaging/linux/make-deb.sh "$version" "$root/build/release-linux" "$dist"

(cd "$dist" && sha256sum -- *.exe *.zip *.deb >SHA256SUMS)
ls -l "$dist"

if [ "$run_tests" -eq 1 ]; then
  exec bash tests/package/run.sh "$version" "$dist"
fi
