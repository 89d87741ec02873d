#!/usr/bin/env bash
# A full disk for the save tests: a 128 KB tmpfs mounted in the build folder
# and mapped as drive K: of the test prefix.
#   small_drive.sh setup BUILD_DIR    mount and map (without the rights, nothing:
#                                     the full-disk test then skips itself)
#   small_drive.sh cleanup BUILD_DIR  unmap and unmount
set -uo pipefail
build_dir=$(cd "$2" && pwd)
mount_dir="$build_dir/small-drive"
link="$build_dir/wineprefix/dosdevices/k:"
case $1 in
  setup)
    mountpoint -q "$mount_dir" && umount "$mount_dir"
    mkdir -p "$mount_dir" "$build_dir/wineprefix/dosdevices"
    if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=128k kelmar-small "$mount_dir" 2>/dev/null; then
      echo "cannot mount a small drive here (needs root); the full-disk test skips"
      exit 0
    fi
    ln -sfn "$mount_dir" "$link"
    ;;
  cleanup)
    rm -f "$link"
    mountpoint -q "$mount_dir" && umount "$mount_dir"
    exit 0
    ;;
esac
