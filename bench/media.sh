# The media a benchmark run works on, sourced by run.sh: tmpfs mounts, and
# loop images in memory formatted exFAT (exfat-fuse), FAT32 (fusefat) or
# ext4, mounted where the run wants a side of its world. Everything mounted,
# attached or started here is listed, so that undo_media takes it all down
# again, also when the run is interrupted.
# shellcheck shell=bash disable=SC2154

mounted=() loops=() fuse_sources=() fat_driver=""

# Every image lives in one tmpfs of its own: what is timed is the medium's
# driver and the calls made to it, not this machine's disk, which other
# work shares.
image_folder() {
  if [[ -z ${images:-} ]]; then
    images=$work/images
    mkdir -p "$images"
    mount -t tmpfs -o mode=0700 pellmar-bench-images "$images"
  fi
}

# attach_image NAME SIZE: a sparse image in memory on a free loop device,
# whose path it leaves in `loop`.
attach_image() {
  image_folder
  truncate -s "$2" "$images/$1.img"
  loop=$(losetup -f --show "$images/$1.img") || {
    echo "bench: no free loop device for $1" >&2
    exit 1
  }
  loops+=("$loop")
}

# A stick as users format them: exFAT with 128 KB clusters (64 GB and
# more), or FAT32 with 4 KB clusters (8 GB). The images are sparse, so only
# what is written takes memory.
make_exfat() {
  attach_image exfat 64G
  mkfs.exfat -L PELLBENCH "$loop" > /dev/null
}

make_fat32() {
  attach_image fat32 8G
  mkfs.vfat -F 32 -n PELLBENCH "$loop" > /dev/null
}

# ext4 with its inode tables written now: a lazily initialised one would
# go on writing them in the background while the runs are timed.
make_ext4() {
  attach_image "ext4-$2" 6G
  mkfs.ext4 -q -N 400000 -E lazy_itable_init=0,lazy_journal_init=0 -L "pb-$2" "$loop"
  mount -t ext4 "$loop" "$1"
  mounted+=("$1")
}

# mount_fuse KIND DEVICE FOLDER: exfat-fuse; for FAT32 the kernel's vfat
# where it has one, else fusefat, which talks on its standard output.
# `fat_driver` says which.
mount_fuse() {
  case $1 in
    exfat) mount.exfat-fuse "$2" "$3" > /dev/null ;;
    fat32)
      if kernel_has_vfat && mount -t vfat "$2" "$3" 2> /dev/null; then
        fat_driver=vfat
      else
        fat_driver=fusefat
        fusefat -o rw+ "$2" "$3" > /dev/null 2>&1
      fi
      ;;
  esac || {
    echo "bench: cannot mount $1 from $2 on $3" >&2
    exit 1
  }
  mounted+=("$3")
  fuse_sources[${#mounted[@]} - 1]=$2
}

kernel_has_vfat() { grep -qw vfat /proc/filesystems || modprobe -q vfat 2> /dev/null; }

# The driver lets go of the device a moment after the unmount returns.
wait_released() {
  local _
  for _ in $(seq 100); do
    fuser -s "$1" 2> /dev/null || return 0
    sleep 0.05
  done
  echo "bench: $1 is still held after the unmount" >&2
  return 1
}

unmount_last() {
  local i=$((${#mounted[@]} - 1))
  local folder=${mounted[i]} device=${fuse_sources[i]:-}
  umount "$folder" || umount -l "$folder"
  unset "mounted[i]" "fuse_sources[i]"
  mounted=("${mounted[@]}")
  [[ -z $device ]] || wait_released "$device"
}

# The stick as if pulled out and plugged in again: the FUSE driver keeps
# every folder it has read in memory of its own, which dropping the
# kernel's caches does not reach. It must be the last mount made.
replug_stick() {
  local i=$((${#mounted[@]} - 1))
  local device=${fuse_sources[i]}
  [[ ${mounted[i]} == "$stick" && -n $device ]] || {
    echo "bench: the stick is not the last FUSE mount" >&2
    exit 1
  }
  unmount_last
  mount_fuse "$medium" "$device" "$stick"
}

# Cold caches before a timed run: the kernel's (page cache, folders and
# inodes), and on a FUSE stick the driver's own, by plugging it in again.
# Writable /proc/sys/vm/drop_caches is checked once, in the header.
cold_caches() {
  sync
  if ((can_drop_caches)); then echo 3 > /proc/sys/vm/drop_caches; fi
  if [[ $medium == exfat || $medium == fat32 ]]; then replug_stick; fi
}

drop_caches_text() {
  if ((can_drop_caches)); then
    echo "cold runs start after sync, echo 3 > /proc/sys/vm/drop_caches and a remount of the FUSE stick"
  else
    echo "cold runs: /proc/sys/vm/drop_caches is not writable here, so only a remount of the FUSE stick empties a cache (its driver's; the kernel keeps its own)"
  fi
}

# Unmounts in the reverse order of mounting, checks the stick's file
# system once its driver has let go, lets the loop devices go, and then the
# memory their images took.
undo_media() {
  local stick_device=""
  ((${#mounted[@]} == 0)) || stick_device=${fuse_sources[${#mounted[@]} - 1]:-}
  while ((${#mounted[@]})); do unmount_last || true; done
  [[ -z $stick_device ]] || check_medium "$stick_device"
  local device
  for device in "${loops[@]}"; do losetup -d "$device" 2> /dev/null || true; done
  loops=()
  if [[ -n ${images:-} ]]; then umount "$images" || umount -l "$images"; fi
  images=""
}

# What the medium's own checker says of it after the runs: a driver that
# damaged it would have the figures measure another file system.
check_medium() {
  local checker=fsck.exfat verdict
  [[ $medium == fat32 ]] && checker=fsck.vfat
  if verdict=$("$checker" -n "$1" 2>&1); then
    verdict="clean"
  else
    verdict="NOT clean: $(grep -v '^fsck' <<< "$verdict" | head -n 3 | tr '\n' ' ')"
  fi
  check_lines+=("$(printf '%-8s %s -n after the runs: %s' "$(medium_name "$medium")" "$checker" "$verdict")")
  echo "${check_lines[-1]}" >&2
}

# One core kept busy while a case runs, as a build or a browser would.
start_spinner() {
  sh -c 'while :; do :; done' &
  spinner=$!
}

stop_spinner() {
  [[ -z ${spinner:-} ]] && return 0
  kill "$spinner" 2> /dev/null || true
  wait "$spinner" 2> /dev/null || true
  spinner=""
}
