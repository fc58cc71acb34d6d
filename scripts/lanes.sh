# Test lanes: the Windows test programs run side by side, each lane with its own Xvfb, its own
# Wine prefix (so its own wineserver, clipboard, desktop and hot keys) and its own test disks.
# ctest hands every test one lane (RESOURCE_GROUPS "lanes:1", from the resource file written
# here); scripts/wine-run starts the test inside that lane. Sourced, not run; needs env.sh,
# xvfb.sh and test-disks.sh first.

# start_lanes COUNT: lane 1 uses the project's prefix, lane N a fresh copy of it.
start_lanes() {
  local count="$1" lane prefix
  QUILL_LANES_FILE="$(mktemp /tmp/quillora-lanes.XXXXXX.json)"
  QUILL_LANE_PREFIXES=() QUILL_LANE_XVFB_PIDS=() QUILL_LANE_DISKS=()
  local ids=()
  wineserver -k >/dev/null 2>&1 || true
  for lane in $(seq 1 "$count"); do
    prefix="$WINEPREFIX"
    if [ "$lane" -gt 1 ]; then
      prefix="$WINEPREFIX-lane$lane"
      WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
      rm -rf "$prefix"
      cp -a "$WINEPREFIX" "$prefix" || return 1
    fi
    QUILL_LANE_PREFIXES+=("$prefix")
    start_private_display || return 1
    QUILL_LANE_XVFB_PIDS+=("$QUILL_XVFB_PID")
    unset QUILL_SMALL_DISK QUILL_READONLY_SOURCE QUILL_READONLY_DISK
    start_test_disks
    export "QUILL_LANE_${lane}_DISPLAY=$DISPLAY"
    export "QUILL_LANE_${lane}_WINEPREFIX=$prefix"
    export "QUILL_LANE_${lane}_SMALL_DISK=${QUILL_SMALL_DISK:-}"
    export "QUILL_LANE_${lane}_READONLY_SOURCE=${QUILL_READONLY_SOURCE:-}"
    export "QUILL_LANE_${lane}_READONLY_DISK=${QUILL_READONLY_DISK:-}"
    QUILL_LANE_DISKS+=("${QUILL_TEST_DISKS:-}")
    unset QUILL_TEST_DISKS
    ids+=("{\"id\":\"$lane\",\"slots\":1}")
  done
  local joined
  joined="$(IFS=,; echo "${ids[*]}")"
  printf '{"version":{"major":1,"minor":0},"local":[{"lanes":[%s]}]}\n' "$joined" >"$QUILL_LANES_FILE"
  trap 'stop_lanes' EXIT
}

stop_lanes() {
  local prefix disks pid
  for prefix in "${QUILL_LANE_PREFIXES[@]}"; do WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; done
  for pid in "${QUILL_LANE_XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for disks in "${QUILL_LANE_DISKS[@]}"; do
    [ -n "$disks" ] && QUILL_TEST_DISKS="$disks" stop_test_disks
  done
  QUILL_LANE_PREFIXES=() QUILL_LANE_XVFB_PIDS=() QUILL_LANE_DISKS=()
  [ -n "${QUILL_LANES_FILE:-}" ] && rm -f "$QUILL_LANES_FILE"
  unset QUILL_LANES_FILE
}
