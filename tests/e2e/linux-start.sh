#!/usr/bin/env bash
# Start-up of the Linux program in a private XDG tree under a private X server: provisioning,
# refusal of foreign files with the Application Error report, the single-instance lock (in the
# runtime folder or, without one, the data folder) and its release when the holder is killed.
set -u
exe=$1 template=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tmp=$(mktemp -d)
holder=""
trap '[ -n "$holder" ] && kill -9 "$holder" 2>/dev/null; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid"; rm -rf "$tmp"' EXIT
source "$root/scripts/xvfb.sh"
start_xvfb || { echo "FAIL: no X server"; exit 1; }
unset DBUS_SESSION_BUS_ADDRESS
export XDG_DATA_HOME=$tmp/data XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_RUNTIME_DIR"
db=$XDG_DATA_HOME/quelvano/quelvano.ipdb
fail() { echo "FAIL: $*"; exit 1; }
# Polls for up to ten seconds for a shown window of that exact name; its id.
window() {
  local w
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$w" ] && echo "$w" && return 0
    sleep 0.1
  done
  return 1
}
# Starts the program (with the command line before it, if any) and ends it once its main window
# shows; fails when it never does.
run_to_window() {
  "$@" "$exe" >"$tmp/out" 2>&1 &
  local pid=$!
  window "Quelvano v1.47 build 351" >/dev/null || { kill "$pid"; fail "no main window: $(cat "$tmp/out")"; }
  kill "$pid"
  wait "$pid" 2>/dev/null
}
# Starts the program, answers its Application Error report and leaves its exit code in rc and
# what it wrote in out.
run_to_error() {
  "$exe" >"$tmp/out" 2>&1 &
  local pid=$! box
  box=$(window "Application Error") || { kill "$pid"; fail "no Application Error: $(cat "$tmp/out")"; }
  xdotool windowfocus "$box" key Return
  wait "$pid"
  rc=$?
  out=$(cat "$tmp/out")
}

run_to_window
cmp -s "$db" "$template" || fail "provisioned file differs from the template"
[ -z "$(ls "$XDG_DATA_HOME/quelvano" | grep -v '^quelvano.ipdb$')" ] || fail "left-over files"

printf '\0\0\0\0Standard Jet DB\0' >"$db"
before=$(md5sum <"$db")
run_to_error
[ "$rc" -eq 1 ] || fail "Jet file: exit $rc"
grep -q "\"$db\"" <<<"$out" || fail "Jet file: message does not name the file: $out"
[ "$(md5sum <"$db")" = "$before" ] || fail "Jet file was changed"
rm "$db"

# A copy holding the lock: a second start is refused with the exact text and exit 0, and starts
# once the holder is killed. Without a runtime folder the lock is in the user's own data folder.
# The subshell becomes the sleeping holder itself, so killing it is killing the lock's owner. It
# waits for the lock, since the probe below takes it for a moment while looking.
expected=$(printf 'Quelvano ya se encuentra en ejecucion.\rRecuerde que cuando usted minimiza Quelvano la aplicacion se oculta al costado del reloj.')
# Runs the program with the runtime folder $runtime, or with none when that is empty.
start() { if [ -n "$runtime" ]; then XDG_RUNTIME_DIR=$runtime "$exe"; else env -u XDG_RUNTIME_DIR "$exe"; fi; }
for runtime in "$tmp/run" ""; do
  lock=${runtime:-$XDG_DATA_HOME/quelvano}/quelvano.lock
  mkdir -p "$(dirname "$lock")"
  rm -f "$db"
  (exec 9>"$lock" && flock 9 && exec sleep 60) >/dev/null 2>&1 &
  holder=$!
  for _ in $(seq 400); do
    flock -n "$lock" true 2>/dev/null || break
    sleep 0.05
  done
  ! flock -n "$lock" true 2>/dev/null || fail "the holder never took $lock"
  err=$(start 2>&1 >/dev/null); rc=$?
  [ "$rc" -eq 0 ] || fail "refusal ($lock): exit $rc"
  [ "$err" = "$expected" ] || fail "refusal text ($lock): $err"
  [ ! -e "$db" ] || fail "refused copy provisioned ($lock)"
  kill -9 "$holder"; wait "$holder" 2>/dev/null; holder=""
  if [ -n "$runtime" ]; then run_to_window env XDG_RUNTIME_DIR="$runtime"; else run_to_window env -u XDG_RUNTIME_DIR; fi
done

# A lock file that cannot be made is no sign of another copy.
rm -f "$db"
err=$(XDG_RUNTIME_DIR=$tmp/missing "$exe" 2>&1 >/dev/null); rc=$?
[ "$rc" -eq 0 ] || fail "no lock: exit $rc"
[ "$err" = "Error creando mutex" ] || fail "no lock text: $err"
[ ! -e "$db" ] || fail "copy without a lock provisioned"

export XDG_DATA_HOME=$tmp/not-a-folder
: >"$XDG_DATA_HOME"
run_to_error
[ "$rc" -eq 1 ] || fail "unusable data folder: exit $rc"
echo "linux start: all checks passed"
