# start_test_disks: makes a small disk to fill and a read-only folder for the tests of failed
# writes, and exports where they are (QUILL_SMALL_DISK, QUILL_READONLY_SOURCE,
# QUILL_READONLY_DISK); stop_test_disks takes them away. Mounting needs root (or sudo without a
# password): without it nothing is exported and those tests skip. Sourced, not run.
start_test_disks() {
  local sudo=""
  if [ "$(id -u)" != 0 ]; then
    sudo -n true 2>/dev/null || { echo "test: not root: the full-disk and read-only tests skip"; return 0; }
    sudo="sudo -n"
  fi
  QUILL_TEST_DISKS="$(mktemp -d /tmp/quillora-disks.XXXXXX)"
  mkdir -p "$QUILL_TEST_DISKS/small" "$QUILL_TEST_DISKS/source" "$QUILL_TEST_DISKS/readonly"
  # Room for one runtime folder (about 9 MB) and a little more.
  if ! $sudo mount -t tmpfs -o size=24m,mode=0777 quillora-small "$QUILL_TEST_DISKS/small" ||
     ! $sudo mount --bind "$QUILL_TEST_DISKS/source" "$QUILL_TEST_DISKS/readonly" ||
     ! $sudo mount -o remount,bind,ro "$QUILL_TEST_DISKS/readonly"; then
    echo "test: cannot mount: the full-disk and read-only tests skip"
    stop_test_disks
    return 0
  fi
  export QUILL_SMALL_DISK="$QUILL_TEST_DISKS/small"
  export QUILL_READONLY_SOURCE="$QUILL_TEST_DISKS/source"
  export QUILL_READONLY_DISK="$QUILL_TEST_DISKS/readonly"
}

stop_test_disks() {
  [ -n "${QUILL_TEST_DISKS:-}" ] || return 0
  local sudo=""
  [ "$(id -u)" != 0 ] && sudo="sudo -n"
  for m in readonly small; do
    mountpoint -q "$QUILL_TEST_DISKS/$m" && $sudo umount "$QUILL_TEST_DISKS/$m"
  done
  rm -rf "$QUILL_TEST_DISKS"
  unset QUILL_TEST_DISKS QUILL_SMALL_DISK QUILL_READONLY_SOURCE QUILL_READONLY_DISK
}
