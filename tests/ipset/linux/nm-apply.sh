#!/usr/bin/env bash
# Runs the NetworkManager apply test (its executable and arguments are ours) inside a sandbox of
# its own: a private NetworkManager in network namespaces, from nm-sandbox.sh beside this script
# (QUELVANO_NM_SANDBOX names another copy). The sandbox is stopped however the test ends. Where the machine allows no namespaces, the test only reports why.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QUELVANO_NM_SANDBOX=${QUELVANO_NM_SANDBOX:-$here/nm-sandbox.sh}

skip() {
  export QUELVANO_NM_SKIP=$1
  shift
  exec "$@"
}

[ "$(id -u)" = 0 ] || skip "a NetworkManager sandbox needs root" "$@"
probe=qvprobe$$
if ! error=$(ip netns add "$probe" 2>&1); then
  skip "this machine allows no network namespace: $error" "$@"
fi
ip netns del "$probe"
[ -f "$QUELVANO_NM_SANDBOX" ] || { echo "nm-apply: no $QUELVANO_NM_SANDBOX" >&2; exit 1; }

# Named after the build folder, so that a run that was killed is cleaned up by the next one.
tag=$(printf %s "$1" | cksum | cut -d' ' -f1)
export NMSB_NS=qnm$tag NMSB_PEER=qnm$tag-peer NMSB_DIR=/tmp/quelvano-nm-$tag
sandbox() { bash "$QUELVANO_NM_SANDBOX" "$@"; }
sandbox stop
trap 'sandbox stop' EXIT
sandbox start >/dev/null || exit 1
timeout -k 5 300 bash "$QUELVANO_NM_SANDBOX" exec "$@"
