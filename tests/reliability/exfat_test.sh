#!/bin/bash
# A real exFAT medium (a 64 MB image on a loop device, mounted through FUSE)
# as drive E:: a round trip of 2,000 files, the free space the program
# reports, names that differ only in case, a project larger than the
# medium, and a clean check afterwards.
. "$(dirname "$0")/lib.sh"
rel_need_root "a loop device and a mount"
rel_need_tools losetup mkfs.exfat mount.exfat-fuse fsck.exfat
[ -c /dev/fuse ] || rel_skip "no /dev/fuse"
rel_world
truncate -s 64M "$REL_W/medium.img"
REL_LOOPS=$(losetup -f --show "$REL_W/medium.img" 2>/dev/null) || rel_skip "no free loop device"
mkfs.exfat "$REL_LOOPS" >/dev/null 2>&1 || rel_skip "mkfs.exfat failed on $REL_LOOPS"
mount.exfat-fuse "$REL_LOOPS" "$REL_STICK" >/dev/null 2>&1 || rel_skip "cannot mount exFAT by FUSE"
mkdir "$REL_STICK/Sync"
P=$REL_W/work/P Q=$REL_W/work/Q
rel_tree "$P" 2000 100 1200 '-1 hour'
for i in $(seq 1 50); do
  mkdir -p "$Q/part$((i % 2))"
  rel_random_file "$Q/part$((i % 2))/big$i.bin" 1500000
done
rel_settings "$P|E:\\Sync|7|0" "$Q|E:\\Sync|7|0"
outside=$(rel_snapshot "$REL_W" work stick log home/.config home/.local medium.img)
q_before=$(rel_snapshot "$Q")

# Round trip: send everything, edit 100 copies on the stick, load them back.
rel_run send P
rel_expect_rc "send of 2,000 files" 0
rel_compare_copy "$P" "$REL_STICK/Sync/P"
sent="$REL_WHOLE whole, $REL_ABSENT absent, $REL_TORN torn"
((REL_WHOLE == 2000 && REL_TORN == 0)) || rel_fail "send of 2,000 files: $sent"
for ((i = 0; i < 2000; i += 20)); do
  echo "edited on the stick" >>"$REL_STICK/Sync/P/d$((i / 100))/f$i.txt"
done
rel_run load P
rel_expect_rc "load of 100 edited files" 0
rel_compare_copy "$REL_STICK/Sync/P" "$P"
edited=$(grep -rl "edited on the stick" "$P" | wc -l)
((REL_WHOLE == 2000 && REL_TORN == 0 && edited == 100)) ||
  rel_fail "load back: $REL_WHOLE of 2000 equal to the stick, $edited of 100 edits arrived"
rel_note "round trip: 2000 files sent ($sent), 100 edited on the stick, $edited loaded back"
# The stick shows every file as rwx for everyone, which the mount makes up:
# the files loaded back keep the modes they have on the disk.
loose=$(find "$P" -type f ! -perm "$(stat -c %a "$P/d0/f1.txt")")
[ -z "$loose" ] || rel_fail "load back: $(wc -l <<<"$loose") files changed mode, e.g." \
  "$(stat -c '%A %n' $(head -1 <<<"$loose"))"

# Free space: a Send with nothing new prints the figure it read from the
# disk, which must be what the file system says within one cluster.
rel_run send P
rel_expect_rc "send with nothing new" 0
shown=$(grep -o 'Available disk size:[0-9,-]*KB' <<<"$REL_OUT" | tr -dc '0-9-')
read -r blocks cluster < <(stat -f -c '%a %S' "$REL_STICK")
disk=$((blocks * cluster))
if [ -z "$shown" ]; then
  rel_fail "free space: no \"Available disk size:\" line in: $REL_OUT"
else
  gap=$((shown * 1000 - disk))
  ((${gap#-} <= cluster + 1000)) ||
    rel_fail "free space: shown ${shown} KB, file system has $disk bytes (gap $gap)"
  rel_note "free space: shown ${shown} KB, statvfs $disk bytes, cluster $cluster, gap $gap bytes"
fi

# exFAT is blind to case: a newer "CASE.TXT" on the stick is the copy of an
# older "case.txt" on the disk, and no Send may put the older one over it.
echo "older" >"$P/d0/case.txt"
touch -d '-2 hours' "$P/d0/case.txt"
echo "newer on the stick" >"$REL_STICK/Sync/P/d0/CASE.TXT"
rel_run send P
rel_expect_rc "send beside a copy in another case" 0
grep -q "newer on the stick" "$REL_STICK/Sync/P/d0/"[cC][aA][sS][eE].[tT][xX][tT] ||
  rel_fail "another case: the newer copy on the stick was overwritten by an older file"

# Two names exFAT takes for one: neither is sent over the other, both named.
echo "lower" >"$P/d1/twin.txt" && echo "upper" >"$P/d1/TWIN.TXT"
touch -d '-1 hour' "$P/d1/twin.txt" "$P/d1/TWIN.TXT"
rel_run send P
rel_expect_rc "send of two names that differ only in case" 1
rel_expect_named "send of two names that differ only in case" "twin.txt: another" "TWIN.TXT: another"
! ls "$REL_STICK/Sync/P/d1" | grep -qix 'twin.txt' ||
  rel_fail "two names that differ only in case: one was sent"
rm "$P/d1/twin.txt" "$P/d1/TWIN.TXT"
rel_note "twin.txt and TWIN.TXT: neither sent, both named, exit $REL_RC"

# Filling: 75 MB onto what is left of 64 MB. What does not fit is refused;
# what is on the stick is whole; nothing else on the stick changes.
stick_rest=$(rel_snapshot "$REL_STICK" Sync/Q)
rel_run send Q
rel_expect_rc "send of 75 MB onto a $((disk / 1000000)) MB free medium" 1
rel_expect_named "send onto a full medium" "Not enough disc size!"
rel_compare_copy "$Q" "$REL_STICK/Sync/Q"
((REL_TORN == 0)) || rel_fail "full medium: $REL_TORN files on the stick are no whole copy"
((REL_WHOLE > 0 && REL_ABSENT > 0)) || rel_fail "full medium: $REL_WHOLE copied, $REL_ABSENT left"
rel_same "full medium: the rest of the stick" "$stick_rest" "$(rel_snapshot "$REL_STICK" Sync/Q)"
rel_same "full medium: the project Q" "$q_before" "$(rel_snapshot "$Q")"
refusals=$(grep -c "Not enough disc size!" <<<"$REL_OUT")
failures=$(grep -c "Available capacity in the disk is not enough." <<<"$REL_OUT")
rel_note "fill: 50 files of 1.5 MB, $REL_WHOLE whole, $REL_ABSENT absent, $REL_TORN torn;" \
  "$refusals refusal messages, $failures failed copies"

rel_same "outside the two folders" "$outside" \
  "$(rel_snapshot "$REL_W" work stick log home/.config home/.local medium.img)"
extra=$(find "$REL_W/home/.config" -mindepth 1 ! -name Pellmar.ini ! -name Pellmar.ini.bak \
  ! -name Pellmar.ini.lock)
[ -z "$extra" ] || rel_fail "debris beside the settings file: $extra"
umount "$REL_STICK" || rel_fail "the medium could not be unmounted"
if fsck.exfat -n "$REL_LOOPS" >"$REL_W/log/fsck" 2>&1; then
  rel_note "fsck.exfat -n: clean"
else
  rel_fail "fsck.exfat -n: $(tr '\n' ' ' <"$REL_W/log/fsck")"
fi
rel_finish
