#!/usr/bin/env bash
# The desktop program under Xvfb with a real system tray (Debian's trayer): set to start
# minimized, it starts in the tray with the first balloon and comes back on a double click; a set
# stored in the database is applied from the tray menu through a fake nmcli on PATH, and the result
# balloon comes up beside the tray and goes again. A picture of that balloon is left at $3 when
# given.
set -u
exe=$1 template=$2 shot=${3:-}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tmp=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Polls for up to $1 tenths of a second until the rest of the line succeeds.
poll() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

source "$root/scripts/xvfb.sh"
start_xvfb || fail "no X server"
pids+=("$xvfb_pid")
# Qt would take a D-Bus tray, which draws no balloons of its own, when a session bus is there.
unset DBUS_SESSION_BUS_ADDRESS
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_DATA_HOME/quelvano" "$XDG_RUNTIME_DIR" "$tmp/bin"
chmod 700 "$XDG_RUNTIME_DIR"
db=$XDG_DATA_HOME/quelvano/quelvano.ipdb
cp "$template" "$db"
sqlite3 "$db" "INSERT INTO Connections (ConnectionName) VALUES ('LAN 1');
  INSERT INTO IPSets (IPSet_Name, IPAddress, SubNetMask, Gateway, DHCP, Connection)
  VALUES ('Casa', '192.0.2.10', '255.255.255.0', '192.0.2.1', 0, 1);" || fail "seeding"
log=$tmp/nmcli.log
printf '#!/bin/sh\nprintf "%%s|" "$@" >>"%s"\necho >>"%s"\n' "$log" "$log" >"$tmp/bin/nmcli"
chmod +x "$tmp/bin/nmcli"
mkdir -p "$XDG_CONFIG_HOME/Quelvano147"
echo StartMinimizado=1 >"$XDG_CONFIG_HOME/Quelvano147/settings.conf"

trayer --edge top --align right --widthtype pixel --width 100 --height 24 >"$tmp/trayer" 2>&1 &
pids+=("$!")
poll 100 xdotool search --class trayer >/dev/null || fail "trayer did not start: $(cat "$tmp/trayer")"
PATH=$tmp/bin:$PATH "$exe" >"$tmp/out" 2>&1 &
pids+=("$!")

# Windows of the program on screen as "id name" lines.
shown() {
  local w
  for w in $(xdotool search --onlyvisible --class quelvano 2>/dev/null); do
    echo "$w $(xdotool getwindowname "$w")"
  done
}
main_shown() { xdotool search --onlyvisible --name '^Quelvano v1.47 build 351$' >/dev/null; }
# The tray icon: the program's small window that trayer took in.
icon=""
find_icon() {
  local w
  for w in $(xdotool search --onlyvisible --class quelvano); do
    xdotool getwindowgeometry "$w" | grep -q 'Geometry: 2[0-9]x2[0-9]$' && icon=$w && return 0
  done
  return 1
}
poll 100 find_icon || fail "no tray icon: $(cat "$tmp/out")"
before=$icon
# The balloon: a new window of ours at the top of the screen, by the tray; not the wait box.
balloon=""
find_balloon() {
  local w y
  while read -r w name; do
    grep -qx "$w" <<<"$before" && continue
    [ "$name" = "Por favor espere..." ] && continue
    y=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Position: [0-9]*,\([0-9]*\).*/\1/p')
    [ "${y:-999}" -lt 100 ] && balloon=$w && return 0
  done < <(shown)
  return 1
}
gone() { ! xdotool search --onlyvisible --class quelvano | grep -qx "$balloon"; }
poll 100 find_balloon || fail "no first balloon; windows: $(shown)"
main_shown && fail "started minimized, yet the window shows"
poll 150 gone || fail "the first balloon stays"
xdotool mousemove --window "$icon" 11 11 click --repeat 2 --delay 80 1
poll 50 main_shown || fail "a double click on the icon did not bring the window back"
before=$(xdotool search --onlyvisible --class quelvano)
# Right button on the icon, then Aplicar configuracion IP > Casa from the keyboard.
xdotool mousemove --window "$icon" 11 11 click 3
# True once $1 more windows of ours show than before.
opened() { [ "$(xdotool search --onlyvisible --class quelvano | wc -l)" -ge "$(($(wc -l <<<"$before") + $1))" ]; }
poll 50 opened 1 || fail "no tray menu"
xdotool key Down Down Down Right
poll 50 opened 2 || fail "no submenu"
xdotool key Return

poll 300 find_balloon || fail "no balloon; windows: $(shown)"
[ -n "$shot" ] && import -window root "$shot"
grep -qx 'connection|modify|id|LAN 1|ipv4.method|manual|ipv4.addresses|192.0.2.10/24|ipv4.gateway|192.0.2.1|' "$log" ||
  fail "nmcli calls: $(cat "$log")"
grep -q '^--wait|15|connection|up|id|LAN 1|$' "$log" || fail "no activation: $(cat "$log")"
# It times out by itself.
poll 150 gone || fail "the balloon stays"
echo "linux tray: all checks passed"
