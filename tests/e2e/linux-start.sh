#!/usr/bin/env bash
# Start-up of the Linux console check in a private XDG tree: provisioning, refusal of foreign
# files, the single-instance lock (in the runtime folder or, without one, the data folder) and its
# release when the holder is killed.
set -u
exe=$1 template=$2
tmp=$(mktemp -d)
holder=""
trap '[ -n "$holder" ] && kill -9 "$holder" 2>/dev/null; rm -rf "$tmp"' EXIT
export XDG_DATA_HOME=$tmp/data XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_RUNTIME_DIR"
db=$XDG_DATA_HOME/quelvano/quelvano.ipdb
fail() { echo "FAIL: $*"; exit 1; }

out=$("$exe" 2>&1) || fail "fresh start: exit $? ($out)"
cmp -s "$db" "$template" || fail "provisioned file differs from the template"
grep -q "0 IP sets, 0 connections" <<<"$out" || fail "report: $out"
[ -z "$(ls "$XDG_DATA_HOME/quelvano" | grep -v '^quelvano.ipdb$')" ] || fail "left-over files"

printf '\0\0\0\0Standard Jet DB\0' >"$db"
before=$(md5sum <"$db")
out=$("$exe" 2>&1); rc=$?
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
  start >/dev/null 2>&1 || fail "start after the holder was killed: exit $?"
done

# A lock file that cannot be made is no sign of another copy.
rm -f "$db"
err=$(XDG_RUNTIME_DIR=$tmp/missing "$exe" 2>&1 >/dev/null); rc=$?
[ "$rc" -eq 0 ] || fail "no lock: exit $rc"
[ "$err" = "Error creando mutex" ] || fail "no lock text: $err"
[ ! -e "$db" ] || fail "copy without a lock provisioned"

export XDG_DATA_HOME=$tmp/not-a-folder
: >"$XDG_DATA_HOME"
"$exe" >/dev/null 2>&1; rc=$?
[ "$rc" -eq 1 ] || fail "unusable data folder: exit $rc"
echo "linux start: all checks passed"
