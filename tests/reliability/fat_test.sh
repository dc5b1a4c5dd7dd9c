#!/bin/bash
# A real FAT medium (a 64 MB image on a loop device: Linux's vfat where the
# kernel has it, else fusefat through FUSE) as the removable folder E:\Sync
# (fusefat tells no free space, so the drive's root stays a plain folder,
# whose free space the program counts with): a file of 4 GiB + 1
# and a folder "a." beside a folder "a" (FAT would store "a." as "a") are
# named by the preview and by the run, never tried, and nothing of them or
# of "a" is lost; the rest is sent, and the medium checks clean afterwards.
# Then a Load's auto-delete trashes an older copy and a Send replaces one:
# fusefat dates a renamed file anew, yet every file moved keeps its time.
. "$(dirname "$0")/lib.sh"
rel_need_root "a loop device and a mount"
rel_need_tools losetup mkfs.vfat fsck.vfat truncate
rel_world
truncate -s 64M "$REL_W/medium.img"
REL_LOOPS=$(losetup -f --show "$REL_W/medium.img" 2>/dev/null) || rel_skip "no free loop device"
mkfs.vfat -F 32 "$REL_LOOPS" >/dev/null 2>&1 || rel_skip "mkfs.vfat failed on $REL_LOOPS"
medium=$REL_STICK/Sync
mkdir "$medium"
if mount -t vfat "$REL_LOOPS" "$medium" 2>/dev/null; then
  driver=vfat
elif command -v fusefat >/dev/null && [ -c /dev/fuse ] &&
  fusefat -o rw+ "$REL_LOOPS" "$medium" >/dev/null 2>&1; then
  driver=fusefat
else
  rel_skip "cannot mount FAT: no vfat in this kernel, and no fusefat"
fi
P=$REL_W/work/P
mkdir -p "$P/a" "$P/a."
echo "kept in a" >"$P/a/notes.txt"
echo "kept in a." >"$P/a./notes.txt"
echo "small" >"$P/small.txt"
# Older than the run, so a copy dated by the run instead shows.
touch -d '-3 hours' "$P/small.txt" "$P/a/notes.txt"
truncate -s $((4 * 1024 * 1024 * 1024 + 1)) "$P/big.bin" # sparse: no disk space taken
rel_settings "$P|E:\\Sync|7|0"
# The large file is left out of the snapshots: reading 4 GiB of holes twice
# would take most of the test's time. Its size and time are checked alone.
p_before=$(rel_snapshot "$P" big.bin)
big_before=$(stat -c '%s %Y %b' "$P/big.bin")
too_large="big.bin: not copied, E:\\Sync\\P holds no file larger than 4294967295 bytes"
dotted="a.: not visited, E:\\Sync\\P cannot store a name that ends in a dot"

# The preview is the plan: it names both and changes nothing.
medium_before=$(rel_snapshot "$medium")
rel_run send P --dry-run
rel_expect_rc "preview" 1
rel_expect_named "preview" "$too_large" "$dotted"
rel_same "preview: the medium" "$medium_before" "$(rel_snapshot "$medium")"

rel_run send P
rel_expect_rc "send" 1
rel_expect_named "send" "$too_large" "$dotted" "Copied: 2, failed: 0"
[ "$(cat "$medium/P/a/notes.txt" 2>&1)" = "kept in a" ] ||
  rel_fail "send: a/notes.txt on the medium is not the one of \"a\""
names=$(cd "$medium/P" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$names" = "./a ./a/notes.txt ./small.txt " ] || rel_fail "send: the medium holds $names"
rel_same "send: the project" "$p_before" "$(rel_snapshot "$P" big.bin)"
[ "$(stat -c '%s %Y %b' "$P/big.bin")" = "$big_before" ] || rel_fail "send: big.bin changed"
rel_note "$driver: big.bin and a. named by preview and run, exit $REL_RC; the medium holds $names"
small_was=$(stat -c %Y "$P/small.txt")
echo "edited" >"$P/small.txt" && touch -d '-1 hour' "$P/small.txt"
echo "older" >"$medium/P/old.txt" && touch -d '-30 days' "$medium/P/old.txt" # due: over 2 x 7 days
echo "newer on the disk" >"$P/old.txt" && touch -d '-20 days' "$P/old.txt"
old_was=$(stat -c %Y "$medium/P/old.txt")
rel_settings "$P|E:\\Sync|7|1"
rel_run load P
rel_expect_rc "load with auto-delete" 0
rel_run send P
rel_expect_named "send of a newer version" "Copied: 1, failed: 0"

umount "$medium" || rel_fail "the medium could not be unmounted"
# FUSE lets go of the device a moment after the unmount.
for _ in $(seq 50); do fuser -s "$REL_LOOPS" 2>/dev/null || break; sleep 0.1; done
if fsck.vfat -n "$REL_LOOPS" >"$REL_W/log/fsck" 2>&1; then
  rel_note "fsck.vfat -n: clean"
else
  rel_fail "fsck.vfat -n: $(tr '\n' ' ' <"$REL_W/log/fsck")"
fi
# Plugged in again, the medium shows each copy with its original's
# last-write time, and each trashed version the time it had (FAT keeps it
# in 2-second steps): fusefat dates a renamed file anew.
if [ "$driver" = vfat ]; then mount -t vfat "$REL_LOOPS" "$medium"; else
  fusefat -o rw+ "$REL_LOOPS" "$medium" >/dev/null 2>&1; fi || rel_fail "the medium could not be mounted again"
for pair in ".Trash-0/files/small.txt $small_was" ".Trash-0/files/old.txt $old_was" \
  P/small.txt P/a/notes.txt; do
  read -r f was <<<"$pair"
  was=${was:-$(stat -c %Y "$REL_W/work/$f")}
  gap=$(($(stat -c %Y "$medium/$f" 2>/dev/null || echo 0) - was))
  ((${gap#-} <= 2)) || rel_fail "$f on the medium is dated $(stat -c %y "$medium/$f" 2>&1)," \
    "not $(date -d "@$was")"
done
# Nothing is newer than its copy now, and the project stays as it is.
p_now=$(rel_snapshot "$P" big.bin)
rel_run send P
rel_expect_named "send with nothing new" "Copied: 0, failed: 0"
rel_same "send with nothing new: the project" "$p_now" "$(rel_snapshot "$P" big.bin)"
umount "$medium" || rel_fail "the medium could not be unmounted again"
rel_finish
