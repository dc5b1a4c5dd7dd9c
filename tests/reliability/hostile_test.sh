#!/bin/bash
# A hostile removable disk, loaded with auto-delete on and Days=1 over old
# files: links to the project, to / and outside, a bind mount of the
# project, a FIFO, a socket, odd names, 1,000 levels, and 100,000 recent
# files the project already holds (a long walk, no copies). Then
# the overlap cases, where the two folders are one or only look alike.
# Nothing outside the two folders is read or changed, nothing is lost, the
# run ends and names what it left alone.
. "$(dirname "$0")/lib.sh"
rel_need_root "bind mounts and a strictatime tmpfs"
rel_world
FILES=${REL_HOSTILE_FILES:-100000}
P=$REL_W/work/P S=$REL_STICK/Sync/P F=$REL_W/fence
# The fence on a tmpfs that records every read of a file in its atime.
rel_mount_tmpfs "$F" 1M strictatime
# Both disks in memory: 200,000 files are made and removed in seconds there.
rel_mount_tmpfs "$REL_W/work" 2G && rel_mount_tmpfs "$REL_STICK" 2G
mkdir "$F/tree" && echo "outside" >"$F/secret.txt" && echo "outside too" >"$F/tree/inner.txt"
fence_times() { stat -c '%x %y %n' "$F" "$F/secret.txt" "$F/tree" "$F/tree/inner.txt"; }

rel_tree "$P" 3 2 100 '-30 days'
rel_tree "$S/plain" 5 5 100 '-30 days'
odd=('back\slash.txt' 'co:lon.txt' $'new\nline.txt' $'bad\xff.txt')
for name in "${odd[@]}"; do echo "$name" >"$S/$name"; done
deep=$S/deep$(printf '/d%.0s' $(seq 1000))
mkdir -p "$deep" && echo bottom >"$deep/bottom.txt"
find "$S" -exec touch -h -d '-30 days' {} +
# The bulk is recent, empty (cheap to make) and already in the project: a
# walk of 100,000 entries that must neither copy nor delete any of them.
for ((d = 0; d < 10; d++)); do
  mkdir -p "$S/flat$d"
  for ((i = d; i < FILES; i += 10)); do : >"$S/flat$d/f$i.txt"; done
done
cp -a "$S"/flat* "$P"
ln -s "$P" "$S/to_project" && ln -s / "$S/to_root" && ln -s "$F/tree" "$S/to_fence"
ln -s "$F/secret.txt" "$S/secret_link.txt"
mkfifo "$S/fifo.txt"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
  "$S/sock.txt" 2>/dev/null || rel_note "no python3: the socket is left out"
mkdir "$S/bound" && mount --bind "$P" "$S/bound" || rel_skip "cannot bind-mount"
rel_settings "$P|E:\\Sync|1|1"
(cd "$S" && find . -path ./bound -prune -o -type f -print0 | sort -z | xargs -0 sha256sum) \
  >"$REL_W/log/stick.sums"
rel_sums "$P" >"$REL_W/log/project.sums"
fence=$(rel_snapshot "$F") && fence_at=$(fence_times)
outside=$(rel_snapshot "$REL_W" work stick log home/.config home/.local fence)

started=$SECONDS
REL_TIMEOUT=120 rel_run load P
rel_expect_rc "hostile stick: load" 1
rel_lost "$REL_W/log/project.sums" "$P"
((REL_LOST == 0)) || rel_fail "hostile stick: $REL_LOST project files gone: $REL_LOST_NAMES"
project_lost=$REL_LOST
rel_lost "$REL_W/log/stick.sums" "$S" "$P"
((REL_LOST == 0)) || rel_fail "hostile stick: $REL_LOST stick files lost from both sides:" \
  "$(sed 's|/d/d/d/d/d/d/[d/]*|/d/.../d/|' <<<"$REL_LOST_NAMES")"
rel_same "hostile stick: the fence (read or written)" "$fence_at" "$(fence_times)"
rel_same "hostile stick: the fence (contents)" "$fence" "$(rel_snapshot "$F")"
rel_same "hostile stick: outside the two folders" "$outside" \
  "$(rel_snapshot "$REL_W" work stick log home/.config home/.local fence)"
[ -L "$S/to_project" ] && [ -L "$S/secret_link.txt" ] && [ -p "$S/fifo.txt" ] ||
  rel_fail "hostile stick: a link or the FIFO on the stick was deleted"
[ -e "$P/secret_link.txt" ] && rel_fail "hostile stick: the file link was followed and the" \
  "outside file copied into the project"
rel_expect_named "hostile stick: entries left alone" to_project to_root to_fence secret_link.txt \
  bound fifo.txt 'back\slash.txt' 'co:lon.txt'
[ -e "$REL_W/stick/Sync/P/sock.txt" ] && rel_expect_named "hostile stick: the socket" sock.txt
loaded=$(find "$P" -type f | wc -l)
rel_note "hostile stick ($FILES files, 1000 levels, 4 links, a bind mount, FIFO, socket," \
  "4 odd names): exit $REL_RC after $((SECONDS - started)) s, $loaded files in the project," \
  "$project_lost project files lost, $REL_LOST stick files lost"

# Overlap cases: NAME PROJECT REMOVABLE STICK_FOLDER(host) HOW EXIT; HOW is
# symlink or bind when the stick folder is the project, "apart" otherwise;
# EXIT the exit code both runs must give ("any" where refusing is sound).
overlap() {
  local name=$1 project=$2 media=$3 folder=$4 how=$5 want=$6 host send_rc lost
  rel_unmount_below "$REL_STICK/"
  rm -rf "${REL_STICK:?}"/* "$REL_W/work"/*
  host=${project#E:}
  [[ $project == E:* ]] && host=$REL_STICK${host//\\//}
  rel_tree "$host" 4 2 100 '-30 days'
  case $how in
    symlink) mkdir -p "$(dirname "$folder")" && ln -s "$host" "$folder" ;;
    bind) mkdir -p "$folder" && mount --bind "$host" "$folder" ;;
    apart) mkdir -p "$folder" && echo stick >"$folder/from_stick.txt" ;;
  esac
  find "$REL_STICK" "$REL_W/work" -exec touch -h -d '-30 days' {} + 2>/dev/null
  rel_sums "$host" >"$REL_W/log/project.sums"
  rel_sums "$folder" >"$REL_W/log/stick.sums"
  rel_settings "$project|$media|1|1"
  rel_run send 1
  send_rc=$REL_RC
  rel_run load 1
  rel_lost "$REL_W/log/project.sums" "$host"
  lost=$REL_LOST
  ((lost == 0)) || rel_fail "$name: $lost project files deleted: $REL_LOST_NAMES"
  rel_lost "$REL_W/log/stick.sums" "$folder" "$host"
  [ "$how" != apart ] || ((REL_LOST == 0)) ||
    rel_fail "$name: $REL_LOST stick files deleted without a copy in the project"
  [ "$want" = any ] || ((send_rc == want && REL_RC == want)) || rel_fail "$name: send exit" \
    "$send_rc, load exit $REL_RC, expected $want: $(head -c 200 <<<"$REL_OUT" | tr '\n' '|')"
  rel_note "overlap, $name: send exit $send_rc, load exit $REL_RC, $lost project files lost"
}
overlap "stick folder is the project by a symlink" "$P" 'E:\Sync' "$S" symlink 1
overlap "stick folder is the project by a bind mount" "$P" 'E:\Sync' "$S" bind 1
overlap "project E:\\S, removable E:\\Sync" 'E:\S' 'E:\Sync' "$REL_STICK/Sync/S" apart 0
overlap "project E:\\P, removable E:\\P-stick" 'E:\P' 'E:\P-stick' "$REL_STICK/P-stick/P" apart 0
overlap "project E:\\P-stick, removable E:\\P" 'E:\P-stick' 'E:\P' "$REL_STICK/P/P-stick" \
  apart any
rel_finish
