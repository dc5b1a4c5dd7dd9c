#!/bin/bash
# Full disks, on 1 MB tmpfs mounts: a stick that fills (files the free-space
# count refuses, and small files that fill the disk before the count says
# so) and a project disk that fills during a Load with auto-delete on.
# Each file is whole or absent on the target, every one left out is named,
# nothing is lost, nothing else changes, and the exit code is 1.
. "$(dirname "$0")/lib.sh"
rel_need_root "tmpfs mounts"
rel_world
P=$REL_W/work/P
outside_now() { rel_snapshot "$REL_W" work stick log home/.config home/.local; }

# NAME MAKER: Send onto a 1 MB stick of the tree MAKER makes.
send_case() {
  local name=$1
  rm -rf "$P" "${REL_STICK:?}"/* && mkdir -p "$REL_STICK/Sync"
  "${@:2}"
  local source outside stick_rest
  source=$(rel_snapshot "$P")
  outside=$(outside_now)
  stick_rest=$(rel_snapshot "$REL_STICK" Sync/P)
  rel_run send P
  rel_expect_rc "$name" 1
  rel_compare_copy "$P" "$REL_STICK/Sync/P"
  ((REL_TORN == 0)) || rel_fail "$name: $REL_TORN files on the stick are no whole copy"
  ((REL_WHOLE > 0 && REL_ABSENT > 0)) || rel_fail "$name: $REL_WHOLE copied, $REL_ABSENT left"
  rel_expect_absent_named "$name"
  rel_same "$name: the project" "$source" "$(rel_snapshot "$P")"
  rel_same "$name: the stick outside Sync\\P" "$stick_rest" "$(rel_snapshot "$REL_STICK" Sync/P)"
  rel_same "$name: outside the two folders" "$outside" "$(outside_now)"
  rel_note "$name: $REL_WHOLE whole, $REL_ABSENT absent ($REL_UNNAMED never named)," \
    "$REL_TORN torn, exit $REL_RC"
}
big_files() { rel_tree "$P" 30 10 100000 '-1 hour'; }        # 3 MB, the count refuses
small_files() { rel_tree "$P" 600 200 10 '-1 hour'; }        # a page each: 2.4 MB real
rel_mount_tmpfs "$REL_STICK" 1M
rel_settings "$P|E:\\Sync|7|1"
send_case "send, 30 x 100 kB onto 1 MB" big_files
send_case "send, 600 x 10 B onto 1 MB" small_files

# Load of 3 MB of old files onto a 1 MB project disk, auto-delete on: what
# did not arrive must still be on the stick, the project's own files stay.
umount -l "$REL_STICK"
# The bare folder is another disk than the stick sent to: forgotten, so
# that the load does not stop to ask whether to use it.
rm -f "$REL_W/home/.config/Pellmar.drives"
name="load, 30 x 100 kB onto a 1 MB project disk"
rel_tree "$REL_STICK/Sync/P" 30 10 100000 '-30 days'
rel_mount_tmpfs "$P" 1M
echo "the project's own" >"$P/own.txt"
rel_sums "$REL_STICK/Sync/P" >"$REL_W/log/stick.sums"
rel_sums "$P" >>"$REL_W/log/stick.sums"
outside=$(outside_now)
rel_run load P
rel_expect_rc "$name" 1
rel_lost "$REL_W/log/stick.sums" "$REL_STICK/Sync/P" "$P"
((REL_LOST == 0)) || rel_fail "$name: $REL_LOST files lost from both sides: $REL_LOST_NAMES"
rel_compare_copy "$REL_W/log/stick.sums" "$P"
((REL_TORN == 0)) || rel_fail "$name: $REL_TORN files in the project are no whole copy"
rel_expect_absent_named "$name"
left=$(find "$REL_STICK/Sync/P" -type f | wc -l)
rel_same "$name: outside the two folders" "$outside" "$(outside_now)"
rel_note "$name: $((REL_WHOLE - 1)) of 30 arrived whole, $REL_ABSENT not loaded" \
  "($REL_UNNAMED never named), $REL_TORN torn, $left left on the stick, $REL_LOST lost," \
  "exit $REL_RC"
rel_finish
