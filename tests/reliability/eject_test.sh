#!/bin/bash
# A real eject through udisks2: a 16 MB ext2 image on a loop device that
# udisks2 mounted, as a desktop mounts a stick, mapped as E:. A Send with
# --eject while a process keeps its working folder on the stick ejects
# nothing and names that process; once it is gone, the same Send unmounts
# the stick, deletes its loop device (a loop device's power-off) and says
# it can be pulled out, with every file on the image.
#
# The system bus, udev and udisks2 are the script's own, in a mount
# namespace of its own: /run, /media and udev's rules are private, and the
# one rule given looks at this loop device alone, so nothing of the host's
# devices, links or mounts is touched.
. "$(dirname "$0")/lib.sh"
rel_need_root "a loop device, a mount namespace and a disk service of its own"
rel_need_tools unshare losetup mkfs.ext2 dbus-daemon udevadm busctl
udisksd=/usr/libexec/udisks2/udisksd udevd=/lib/systemd/systemd-udevd
[ -x "$udisksd" ] || rel_skip "needs udisks2 (not installed)"
[ -x "$udevd" ] || rel_skip "needs systemd-udevd (not installed)"
if [ -z "${REL_EJECT_NAMESPACE:-}" ]; then
  unshare --mount true 2>/dev/null || rel_skip "cannot make a mount namespace"
  REL_EJECT_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

rel_world
daemons=()
eject_cleanup() {
  local pid
  for pid in "${daemons[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  rel_cleanup
}
trap eject_cleanup EXIT
for folder in /run /media /etc/udev/rules.d /usr/lib/udev/rules.d /usr/local/lib/udev/rules.d; do
  [ -d "$folder" ] || continue
  mount -t tmpfs tmpfs "$folder" || rel_skip "cannot mount a private $folder"
done

truncate -s 16M "$REL_W/medium.img"
mkfs.ext2 -q -F -L PELLSTICK "$REL_W/medium.img" || rel_skip "mkfs.ext2 failed"
# Other programs take loop devices too: the free one found may be gone.
for _ in 1 2 3 4 5; do
  REL_LOOPS=$(losetup -f --show "$REL_W/medium.img" 2>/dev/null) && break
  sleep 0.2
done
[ -n "$REL_LOOPS" ] || rel_skip "no free loop device"
loop=${REL_LOOPS#/dev/}
udev_data=/run/udev/data/b$(cat "/sys/block/$loop/dev")
object=/org/freedesktop/UDisks2/block_devices/$loop

# udev learns this device's file system and nothing else: no links, no
# permissions, no other device.
mkdir -p /run/udev/rules.d
echo "SUBSYSTEM==\"block\", KERNEL==\"$loop\", IMPORT{builtin}=\"blkid\"" \
  >/run/udev/rules.d/50-eject-test.rules
"$udevd" >"$REL_W/log/udevd" 2>&1 &
daemons+=($!)
for _ in $(seq 50); do [ -S /run/udev/control ] && break; sleep 0.1; done
for _ in 1 2 3; do
  udevadm trigger --action=add --settle "$REL_LOOPS" 2>/dev/null
  grep -q "ID_FS_TYPE=ext2" "$udev_data" 2>/dev/null && break
  sleep 0.5
done
grep -q "ID_FS_TYPE=ext2" "$udev_data" 2>/dev/null ||
  rel_skip "udev did not take in $REL_LOOPS (no uevents here?)"

cat >"$REL_W/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$REL_W/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$REL_W/bus.conf" --nofork >"$REL_W/log/dbus" 2>&1 &
daemons+=($!)
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$REL_W/bus
for _ in $(seq 50); do [ -S "$REL_W/bus" ] && break; sleep 0.1; done
"$udisksd" >"$REL_W/log/udisksd" 2>&1 &
daemons+=($!)
udisks() { busctl --system "$@" 2>&1; }
for _ in $(seq 100); do
  udisks get-property org.freedesktop.UDisks2 "$object" org.freedesktop.UDisks2.Filesystem \
    MountPoints >/dev/null && break
  sleep 0.1
done
mounted=$(udisks call org.freedesktop.UDisks2 "$object" org.freedesktop.UDisks2.Filesystem Mount \
  'a{sv}' 0) || rel_skip "udisks2 did not mount $REL_LOOPS: $mounted"
stick=$(sed -n 's/^s "\(.*\)"$/\1/p' <<<"$mounted")
[ -d "$stick" ] || rel_skip "udisks2 answered the mount with: $mounted"
rel_note "udisks2 mounted $REL_LOOPS at $stick"
REL_DRIVES="E:=$stick"
mkdir "$stick/Sync"
P=$REL_W/work/P
rel_tree "$P" 200 20 3000 '-1 hour'
rel_settings "$P|E:\\Sync|7|0"
unmounted() { ! awk -v m="$stick" '$2 == m { found = 1 } END { exit !found }' /proc/self/mounts; }

# Busy: a shell whose working folder is on the stick keeps it; nothing is
# forced, and the message names the holder.
(cd "$stick/Sync" && exec sleep 60) &
holder=$!
sleep 0.2
rel_run send P --eject
rel_expect_rc "eject of a stick in use" 1
rel_expect_named "eject of a stick in use" "E: is still in use" "sleep (pid $holder)"
unmounted && rel_fail "eject of a stick in use: it was unmounted all the same"
grep -qF "can be pulled out" <<<"$REL_OUT" && rel_fail "a stick in use was said to be free"
kill "$holder" && wait "$holder" 2>/dev/null

# Free: the run sends nothing new, then the stick goes.
rel_run send P --eject
rel_expect_rc "eject of a free stick" 0
rel_expect_named "eject of a free stick" "E: can be pulled out now."
unmounted || rel_fail "eject of a free stick: $stick is still mounted"
# The device number may be handed to another image at once: ask whose it is.
[ "$(cat "/sys/block/$loop/loop/backing_file" 2>/dev/null)" = "$REL_W/medium.img" ] &&
  rel_fail "eject of a free stick: $REL_LOOPS still holds the image"

# What the stick holds once it is gone: every file, whole.
mkdir "$REL_W/check"
mount -o ro,loop "$REL_W/medium.img" "$REL_W/check" || rel_fail "the image does not mount again"
rel_compare_copy "$P" "$REL_W/check/Sync/P"
((REL_WHOLE == 200 && REL_TORN == 0)) ||
  rel_fail "the ejected stick holds $REL_WHOLE of 200 files whole, $REL_TORN torn"
umount "$REL_W/check"
rel_finish
