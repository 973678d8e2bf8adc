# Sourced by scripts/test.sh and scripts/bench.sh: start_xvfb starts a private X server on a free
# display, exports DISPLAY and keeps the server's process id in xvfb_pid for the caller to stop.

start_xvfb() {
  local fifo display
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  [ -n "$display" ] || { echo "Xvfb did not start"; return 1; }
  export DISPLAY=":$display"
}
