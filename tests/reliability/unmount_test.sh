#!/bin/bash
# The medium unmounted in the middle of a Send of 5,000 files: after that
# nothing may land in the bare mount-point folder on the internal disk, the
# run says so once and exits 1, and the hard disk is as it was.
. "$(dirname "$0")/lib.sh"
rel_need_root "tmpfs mounts"
rel_world
P=$REL_W/work/P
rel_tree "$P" 5000 100 2000 '-1 hour'
rel_settings "$P|E:\\Sync|7|0"
source=$(rel_snapshot "$P")
outside=$(rel_snapshot "$REL_W" work stick log home/.config home/.local)

# The unmount must come while the run still copies; a run that finished
# first is tried again, at most three times.
for try in 1 2 3; do
  rel_mount_tmpfs "$REL_STICK" 64M
  mkdir "$REL_STICK/Sync"
  rel_start send P
  # Waits for the first copies, not for a time.
  copied=0
  for ((i = 0; i < 4000 && copied < 150; i++)); do
    copied=$(find "$REL_STICK/Sync" -type f 2>/dev/null | wc -l)
  done
  running=$(kill -0 "$REL_PID" 2>/dev/null && echo yes)
  umount -l "$REL_STICK"
  rel_wait
  [ "$running" = yes ] && break
  rel_note "try $try: the run ended before the unmount"
  rm -rf "${REL_STICK:?}"/*
done
[ "$running" = yes ] || rel_fail "the run always ended before the unmount; nothing was tested"

bare=$(find "$REL_STICK" -mindepth 1 | wc -l)
((bare == 0)) || rel_fail "$bare entries written into the bare mount point, e.g." \
  "$(find "$REL_STICK" -mindepth 1 -type f | head -2 | tr '\n' ' ')"
rel_expect_rc "send with the medium unmounted" 1
# One message that the disk went, not one per file that could not be
# written: the message itself once, and no line about a file of the run.
gone='removable disk is no longer there|removable disk of .* cannot be reached'
messages=$(grep -ciE "$gone" <<<"$REL_OUT")
per_file=$(grep -ciE "(could not|cannot|failed to) .*(Sync|[\\/]P[\\/])" <<<"$REL_OUT")
((messages == 1 && per_file <= 1)) ||
  rel_fail "expected one clear message about the medium, got $messages, and $per_file lines about files:" \
    "$(grep -iE "$gone|could not|cannot|failed to" <<<"$REL_OUT" | head -3 | tr '\n' '|')"
rel_same "the project on the hard disk" "$source" "$(rel_snapshot "$P")"
rel_same "outside the two folders" "$outside" "$(rel_snapshot "$REL_W" work stick log home/.config home/.local)"
rel_note "unmounted after >= $copied of 5000 files (try $try): $bare entries in the bare folder," \
  "$messages error lines, exit $REL_RC"
rel_finish
