#!/bin/bash
# A stick that cannot take what was written to it: an ext2 medium on a loop
# device whose image lives on a tmpfs too small for it, so that what the
# system writes out of its cache fails (the loop device answers "no space"),
# as writes to a stick pulled out or worn out fail. A Send whose data fits
# reports it done (exit 0); one whose copies reached only the cache names
# the failure ("do not pull it out yet") and exits 1, though every copy
# itself succeeded.
. "$(dirname "$0")/lib.sh"
rel_need_root "a loop device and a mount"
rel_need_tools losetup mkfs.ext2 truncate
rel_world
rel_mount_tmpfs "$REL_W/backing" 8M
truncate -s 64M "$REL_W/backing/medium.img"
mkfs.ext2 -q -F "$REL_W/backing/medium.img" >/dev/null 2>&1 || rel_skip "mkfs.ext2 failed"
REL_LOOPS=$(losetup -f --show "$REL_W/backing/medium.img" 2>/dev/null) || rel_skip "no free loop device"
medium=$REL_STICK/Sync
mkdir "$medium"
mount -t ext2 "$REL_LOOPS" "$medium" 2>/dev/null || rel_skip "cannot mount ext2"
P=$REL_W/work/P
mkdir -p "$P"
echo "small" >"$P/small.txt"
rel_settings "$P|E:\\Sync|7|0"

rel_run send P
rel_expect_rc "a Send that fits" 0
rel_expect_named "a Send that fits" "Copied: 1, failed: 0"

# Three times what the image's tmpfs holds: the copy lands in the cache,
# and writing it out fails.
rel_random_file "$P/large.bin" $((24 * 1024 * 1024))
rel_run send P
rel_expect_rc "a Send the medium cannot take" 1
rel_expect_named "a Send the medium cannot take" "Copied: 1, failed: 0" \
  "E:\\: the data could not be made safe on the disk: " "; do not pull it out yet"
rel_note "the failed write-out was named, exit $REL_RC"
rel_finish
