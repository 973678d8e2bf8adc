#!/usr/bin/env bash
# The Debian package as this machine's administrator and a user meet it: lintian and AppStream
# accept it; apt-get installs it with its dependencies; both programs run from /usr/bin, the
# desktop one showing its window under a private X server (a screenshot in SHOTS); apt-get remove
# leaves none of its files. It then removes what it installed, so the machine stays as it was.
# Needs root. Usage: debian.sh VERSION DIST SHOTS
set -u
version=$1 dist=$2 shots=$3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/xvfb.sh"
deb=$dist/quelvano_${version}-1_amd64.deb
tmp=$(mktemp -d)
fail() { echo "FAIL: $*"; exit 1; }
installed() { dpkg-query -W -f='${db:Status-Status}\n' "$@" 2>/dev/null | grep -qx installed; }
# What apt-get brought in besides the package goes again too.
cleanup() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid"
  if [ -f "$tmp/before" ]; then
    dpkg-query -W -f='${binary:Package}\n' | sort >"$tmp/after"
    added=$(comm -13 "$tmp/before" "$tmp/after")
    # shellcheck disable=SC2086
    [ -z "$added" ] || DEBIAN_FRONTEND=noninteractive apt-get purge -y -q $added >/dev/null 2>&1
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
[ "$(id -u)" -eq 0 ] || fail "installing a package needs root"
! installed quelvano || fail "quelvano is installed already: the test would take it away"

lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"
metainfo=$tmp/example.quelvano.Quelvano.metainfo.xml
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/metainfo/example.quelvano.Quelvano.metainfo.xml >"$metainfo"
appstreamcli validate --no-net "$metainfo" >"$tmp/validate" 2>&1 || fail "appstreamcli: $(cat "$tmp/validate")"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo names another release"

dpkg-query -W -f='${binary:Package}\n' | sort >"$tmp/before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$tmp/apt" 2>&1 \
  || fail "apt-get install: $(tail -5 "$tmp/apt")"
files=$(dpkg-query -L quelvano | while read -r f; do [ -d "$f" ] || echo "$f"; done)
[ -n "$files" ] || fail "dpkg knows no files of quelvano"

# As a user: a data folder of one's own.
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
[ "$(cd / && quelvanoctl --version | head -1)" = "quelvanoctl (Quelvano) $version" ] \
  || fail "quelvanoctl --version: $(quelvanoctl --version 2>&1)"
[ "$(command -v quelvanoctl)" = /usr/bin/quelvanoctl ] || fail "quelvanoctl is not the installed one"
list=$(/usr/bin/quelvanoctl list 2>"$tmp/err") || fail "quelvanoctl list: $(cat "$tmp/err")"
[ "$(head -1 <<<"$list")" = "ID  Nombre  Conexion  Configuracion" ] || fail "quelvanoctl list: $list"
[ -s "$XDG_DATA_HOME/quelvano/quelvano.ipdb" ] || fail "quelvanoctl wrote no database"
[ "$(man -w quelvanoctl)" = /usr/share/man/man1/quelvanoctl.1.gz ] || fail "no manual page"

start_xvfb || fail "no X server"
/usr/bin/quelvano >"$tmp/out" 2>&1 &
program=$!
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Quelvano v1.47 build 351$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Quelvano v1.47 build 351$' >/dev/null 2>&1 \
  || fail "the desktop program shows no window: $(cat "$tmp/out")"
import -window root "$shots/debian-quelvano.png"
kill "$program"; wait "$program" 2>/dev/null; program=""

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q quelvano >"$tmp/apt" 2>&1 \
  || fail "apt-get remove: $(tail -5 "$tmp/apt")"
for f in $files; do [ ! -e "$f" ] || fail "apt-get remove left $f"; done
echo "debian package: all checks passed"
