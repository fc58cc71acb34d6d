# start_private_display: starts an Xvfb of our own on a free display number and
# exports DISPLAY; it is stopped when the calling script exits (sourced, not run).
start_private_display() {
  # Xvfb picks a free display number itself and reports it (-displayfd), so runs that start at
  # once never share a display (a display chosen by probing could answer for another run's Xvfb).
  local number_file
  number_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  QUILL_XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$number_file" ] && break
    kill -0 "$QUILL_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
  if [ "$DISPLAY" = ":" ]; then
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  trap 'stop_private_display' EXIT
}

stop_private_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QUILL_XVFB_PID:-}" ]; then kill "$QUILL_XVFB_PID" 2>/dev/null || true; fi
}
