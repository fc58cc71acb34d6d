# start_private_display: starts an Xvfb of our own on a free display number and
# exports DISPLAY; it is stopped when the calling script exits (sourced, not run).
start_private_display() {
  local n=90
  # Several runs may start at once (each with its own prefix): when another Xvfb took the
  # number first, ours exits and we try the next one.
  while :; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUILL_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      kill -0 "$QUILL_XVFB_PID" 2>/dev/null || break
      xdpyinfo >/dev/null 2>&1 && break 2
      sleep 0.1
    done
    kill "$QUILL_XVFB_PID" 2>/dev/null || true
    n=$((n + 1))
  done
  trap 'stop_private_display' EXIT
}

stop_private_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QUILL_XVFB_PID:-}" ]; then kill "$QUILL_XVFB_PID" 2>/dev/null || true; fi
}
