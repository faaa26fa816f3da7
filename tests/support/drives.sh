# Sourced after scripts/wine-env.sh: small file systems (tmpfs) and folders
# mapped as drives of the Wine prefix, for the tests of full and read-only
# disks and of device names. Mounting needs root. ondav_unmap_drives undoes
# everything (call it on exit).
ondav_drive_links=()
ondav_drive_mounts=()

# ondav_mount_small DIR SIZE [OPTIONS]: a tmpfs of SIZE on DIR; 1 where none
# can be mounted.
ondav_mount_small() {
  mkdir -p "$1"
  umount "$1" 2>/dev/null
  [ "$(id -u)" = 0 ] && mount -t tmpfs -o "size=$2${3:+,$3}" ondav-drive "$1" 2>/dev/null || return 1
  ondav_drive_mounts+=("$1")
}

# ondav_map_drive LETTER FOLDER: FOLDER becomes drive LETTER: of the prefix.
ondav_map_drive() {
  local link=$WINEPREFIX/dosdevices/${1,,}:
  ln -sfn "$2" "$link"
  ondav_drive_links+=("$link")
}

ondav_unmap_drives() {
  local l m
  for l in "${ondav_drive_links[@]}"; do rm -f "$l"; done
  for m in "${ondav_drive_mounts[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
  return 0
}
