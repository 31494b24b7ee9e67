# Sourced by the test scripts: without a DISPLAY, starts Xvfb on the first
# free display number of those given and exports DISPLAY; the caller's EXIT
# trap stops it through $display_pid. -noreset keeps the server as it is
# when its last client leaves: a reset then refuses the next connections for
# a moment, which made graphics tests fail at random.
display_pid=
start_virtual_display() {
  [ -z "${DISPLAY:-}" ] && command -v Xvfb > /dev/null || return 0
  local n
  for n in "$@"; do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then
      Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp -noreset > /dev/null 2>&1 &
      display_pid=$!
      export DISPLAY=:$n
      break
    fi
  done
  sleep 1
}
stop_virtual_display() { [ -n "$display_pid" ] && kill "$display_pid" 2> /dev/null || true; }
