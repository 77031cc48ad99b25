# Starts and stops a private Xvfb display. Source it, then call xvfb_start / xvfb_stop.
# TAVRINO_SCREEN sets its size (default 1280x800).
XVFB_PID=""
xvfb_start() {
  local n=${TAVRINO_DISPLAY:-91}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${TAVRINO_SCREEN:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "xvfb: display :$n did not come up" >&2
  return 1
}
xvfb_stop() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
  return 0
}
