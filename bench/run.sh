#!/usr/bin/env bash
# Times `pellmar send`, `load` and `list` against cp, rsync and the bare
# cost of stat'ing both trees, on deterministic trees, on the media users
# have: tmpfs mounts (the program's own cost), an exFAT and a FAT32 stick
# (loop images in memory, through FUSE), both trees on ext4, idle and with
# one core kept busy, the window's Send against the command line's, and
# the status of 30 projects against their 30 Sends. Prints one table of
# medians and ratios (pellmar / peer).
#
# Usage: bash bench/run.sh [--quick | --plan] [--medium NAME]... [--runs N]
#   --medium  tmpfs, exfat, fat32, ext4, window or status; repeat it, or
#             give a comma-separated list, to run several; without it all of
#             them, fat32 only where the kernel has vfat
#   --quick   small trees and 3 rounds: a try-out of seconds per medium
#             (fat32: about a minute)
#   --plan    only what the plan of a run costs, on the host disk (case 6):
#             a Send of 100,000 files with nothing to do, and one that finds
#             1,000 of them (1%) newer than their copies, each against the
#             very same Send with PELLMAR_NO_PLAN=1. That switch, a benchmark
#             aid read by the command line alone, sends the run straight to
#             its walk without a plan first; nothing else differs. With
#             nothing to do a Send is its plan alone, so the first ratio is
#             plan / walk; with 1% newer it is (plan + run) / run. `send
#             --dry-run` cannot stand in for the plan: it is the whole run on
#             a platform that changes nothing, so plan and walk again.
#   --runs N  rounds per case (default 5; at most 3 for first Sends of 100,000
#             files or more, and for every first Send through fusefat)
# PELLMAR_BIN=path skips the Release build and times that binary instead.
# The contestants' arrays are filled through namerefs and read in measure.sh.
# shellcheck disable=SC2034
set -euo pipefail

bench=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$bench")
all_media=(tmpfs exfat fat32 ext4 window status)
usage="usage: bash bench/run.sh [--quick | --plan] [--medium $(IFS="|"; echo "${all_media[*]}")]... [--runs N]"
quick=0
plan_only=0
runs=5
media=()
while (($#)); do
  case $1 in
    --quick) quick=1 runs=3 ;;
    --plan) plan_only=1 ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --medium | --media)
      IFS=, read -r -a named <<< "${2:?--medium needs a name}"
      media+=("${named[@]}")
      shift
      ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
# FAT32 runs by default only where the kernel has vfat: fusefat, the one
# driver otherwise, is not sound enough for a run of every case (see
# bench/README.md); `--medium fat32` runs it all the same.
if ((${#media[@]} == 0)); then
  media=(tmpfs exfat ext4 window status)
  if grep -qw vfat /proc/filesystems || modprobe -q vfat 2> /dev/null; then media=(tmpfs exfat fat32 ext4 window status); fi
fi
for m in "${media[@]}"; do
  [[ " ${all_media[*]} " == *" $m "* ]] || { echo "bench: no medium \"$m\"; $usage" >&2; exit 2; }
done
slow_runs=$((runs < 3 ? runs : 3))
if ((quick)); then
  sizes=(10000) large_count=8 large_mb=32
else
  sizes=(10000 100000 300000) large_count=8 large_mb=256
fi
main_files=$((quick ? 10000 : 100000))

source "$bench/measure.sh"
source "$bench/media.sh"
source "$bench/window.sh"
source "$bench/status.sh"

# --- tools ---------------------------------------------------------------

wants() { [[ " ${media[*]} " == *" $1 "* ]]; }

install_missing() {
  local missing=()
  command -v rsync > /dev/null || missing+=(rsync)
  [[ -x /usr/bin/time ]] || missing+=(time)
  command -v cc > /dev/null || missing+=(gcc)
  [[ -x /usr/bin/python3 ]] || missing+=(python3)
  if ! ((plan_only)); then
    wants exfat && ! command -v mkfs.exfat > /dev/null && missing+=(exfatprogs)
    wants exfat && ! command -v mount.exfat-fuse > /dev/null && missing+=(exfat-fuse)
    wants fat32 && ! command -v mkfs.vfat > /dev/null && missing+=(dosfstools)
    wants fat32 && ! command -v fusefat > /dev/null && missing+=(fusefat)
    if wants ext4 || wants status; then command -v mkfs.ext4 > /dev/null || missing+=(e2fsprogs); fi
    if wants exfat || wants fat32; then command -v fuser > /dev/null || missing+=(psmisc); fi
    wants window && ! command -v Xvfb > /dev/null && missing+=(xvfb)
    wants window && ! command -v xdotool > /dev/null && missing+=(xdotool)
    wants window && ! command -v xev > /dev/null && missing+=(x11-utils)
    wants window && ! command -v import > /dev/null && missing+=(imagemagick)
  fi
  ((${#missing[@]})) || return 0
  echo "installing ${missing[*]} ..." >&2
  apt-get update -qq > /dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" > /dev/null
}

build_pellmar() {
  if [[ -n ${PELLMAR_BIN:-} ]]; then
    bin=$PELLMAR_BIN
    return
  fi
  echo "building a Release pellmar in build-bench ..." >&2
  local build_log=$root/build-bench/bench-build.log
  mkdir -p "$root/build-bench"
  if ! (cd "$root" && nice cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release &&
    nice cmake --build build-bench --target pellmar) > "$build_log" 2>&1; then
    tail -n 20 "$build_log" >&2
    echo "bench: the build failed (whole log: $(shown_path "$build_log"))" >&2
    exit 1
  fi
  bin=$root/build-bench/pellmar
}

# --- the temp world --------------------------------------------------------

# A world is one medium's pair of sides: the project's (source) and the
# stick's, mapped as E:. On tmpfs each side gets a tmpfs of its own, so the
# host disk's writeback and the other side's pages decide nothing; without
# the right to mount, plain folders do, and the header says so. On a stick
# medium the source stays a tmpfs and the stick is the medium; on ext4 both
# sides are ext4. The plan's cost is measured on the host disk itself:
# /var/tmp, which is a disk folder where /tmp may be a tmpfs.
make_world() {
  medium=$1
  local parent=/tmp
  [[ $medium == plan ]] && parent=/var/tmp
  work=$(mktemp -d "$parent/pellmar-bench-XXXXXX")
  src=$work/src stick=$work/stick
  mkdir -p "$src" "$stick"
  case $medium in
    plan) ;;
    ext4 | status)
      make_ext4 "$src" src
      make_ext4 "$stick" stick
      ;;
    exfat | fat32)
      mount_tmpfs "$src"
      "make_$medium"
      mount_fuse "$medium" "$loop" "$stick"
      ;;
    *)
      mount_tmpfs "$src"
      mount_tmpfs "$stick"
      ;;
  esac
  # The runs' output stays off the host disk too.
  home=$src/home docs=$src/home/Documents logs=$src/logs
  # A pellmar run that wrote onto the stick ends once the stick's file
  # system is written out (syncfs), so a peer that writes there is timed up
  # to the same point: `sync -f` on the stick follows it in the timed
  # command. Use: "${then_sync[@]}" cp -a FROM TO.
  then_sync=(sh -c '"$@" && exec sync -f "$0"' "$stick")
  mkdir -p "$docs" "$home/.config" "$stick/Sync" "$logs"
  cc -O2 -o "$logs/tree_stat" "$bench/tree_stat.c"
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DOCUMENTS_DIR=$docs
  export XDG_STATE_HOME=$home/.local/state
  export PELLMAR_DRIVES="E:=$stick"
  choose_peers
}

mount_tmpfs() {
  mount -t tmpfs -o mode=0755 pellmar-bench "$1" 2> /dev/null && mounted+=("$1")
  # Without the right to mount, the tmpfs medium makes do with plain folders.
  return 0
}

remove_world() {
  stop_spinner
  stop_display
  undo_media
  [[ -z $work ]] || rm -rf "$work"
  work=""
}

# The peers copy as a user would onto the medium: cp -a and rsync -a where
# the medium keeps owners and modes; on a stick rsync keeps times alone,
# allowing FAT's 2-second steps, and cp keeps times alone where the driver
# refuses a mode (fusefat answers every chmod "not implemented").
choose_peers() {
  cp_copy=(cp -a) cp_update=(cp -au) rsync_copy=(rsync -a)
  [[ $medium == exfat || $medium == fat32 ]] || return 0
  rsync_copy=(rsync -rt --modify-window=1)
  mkdir -p "$logs/probe"
  echo probe > "$logs/probe/file"
  if ! cp -a "$logs/probe" "$stick/probe-cp" 2> /dev/null; then
    cp_copy=(cp -r --preserve=timestamps) cp_update=(cp -ru --preserve=timestamps)
  fi
  # fusefat dates a renamed file anew, so every copy rsync renames into
  # place looks newer than its original on the next run, which copies it
  # again (and a Load copies it back); writing in place instead needs
  # ftruncate, which fusefat refuses. rsync is left out there.
  [[ $medium == fat32 && $fat_driver == fusefat ]] && rsync_copy=()
  rm -rf "${stick:?}/probe-cp" "$stick/probe-rsync" "$logs/probe"
}

medium_name() {
  case $1 in
    exfat) echo exFAT ;;
    fat32) echo FAT32 ;;
    *) echo "$1" ;;
  esac
}

place_text() {
  local fs
  fs=$(stat -f -c %T "$1")
  if [[ $1 == "$stick" && ($medium == exfat || $medium == fat32) ]]; then
    echo "$(medium_name "$medium") through $(driver_text), on a loop image in memory"
  elif [[ $medium == ext4 || $medium == status ]]; then
    echo "ext4 on a loop image in memory"
  elif [[ " ${mounted[*]} " == *" $1 "* ]]; then
    echo "$fs, mounted for this run"
  elif ((plan_only)); then
    echo "$fs, a plain folder on the host disk"
  else
    echo "$fs, a plain folder (mounting was not allowed)"
  fi
}

driver_text() {
  case $medium in
    exfat) echo "exfat-fuse $(dpkg-query -W -f '${Version}' exfat-fuse 2> /dev/null)" ;;
    fat32)
      if [[ $fat_driver == vfat ]]; then echo "the kernel's vfat"; else
        echo "fusefat $(dpkg-query -W -f '${Version}' fusefat 2> /dev/null)"
      fi
      ;;
  esac
}

# What the header says of each medium that ran.
world_lines=()
note_world() {
  world_lines+=("$(printf '%-8s source: %s;  stick (E:): %s' "$(medium_name "$medium")" \
    "$(place_text "$src")" "$(place_text "$stick")")")
}

# --- settings ---------------------------------------------------------------

# A host path in the program's namespace, where C:\ is /.
ns() { printf 'C:%s' "${1//\//\\}"; }

# Thirty entries, as many as the program keeps: the benchmark's projects
# first, idle ones after them, so `pellmar list` shows a full list.
write_settings() {
  local projects=("$@") n=0 name
  while ((${#projects[@]} < 30)); do projects+=("$(printf 'idle%02d' ${#projects[@]})"); done
  {
    printf '[Setting]\r\n'
    for name in "${projects[@]}"; do
      n=$((n + 1))
      mkdir -p "$docs/$name"
      printf 'SyncItem%d=%s\r\nPath in mobile disk%d=E:\\Sync\r\nDuration%d=365\r\n' \
        $n "$(ns "$docs/$name")" $n $n
      printf 'AutoDelete%d=0\r\nUseZip%d=0\r\nExtensions of excluded files%d=bak, tmp\r\n' $n $n $n
    done
  } > "$home/.config/Pellmar.ini"
}

# --- cases ------------------------------------------------------------------

make_small() {
  echo "writing $1 small files ..." >&2
  python3 "$bench/make_tree.py" small "$docs/small$1" "$1"
}

# A first Send goes onto a stick that never held the project, so it starts
# with no memory of earlier runs, though the rounds before it sent the same
# files to the same stick.
forget_runs() { rm -f "$XDG_STATE_HOME"/pellmar/*.runs; }

# First Send of a whole project against cp -a of the same folder.
first_send() {
  local case=$1 project=$2 files=$3 rounds=$4
  local -n first_send_pellmar=p_$case first_send_cp=c_$case
  first_send_pellmar=("$bin" send "$project" --yes)
  first_send_cp=("${then_sync[@]}" "${cp_copy[@]}" "$docs/$project" "$stick/cp-$project")
  label[c_$case]="${cp_copy[*]}; sync -f"
  fresh_dest[p_$case]=$stick/Sync/$project
  fresh_dest[c_$case]=$stick/cp-$project
  prepare[p_$case]=forget_runs
  expect_copied[p_$case]=$files
  alternate "$case" "$rounds" "p_$case" "c_$case"
}

# Send and Load when everything is already in place. The peers keep trees
# of their own that they made themselves, so they too find nothing to do;
# the floor walks pellmar's two trees.
no_change() {
  local case=$1 project=$2 rounds=$3 verb=$4
  local from=$docs/$project to=$stick/Sync/$project
  [[ -d $stick/cp-$project ]] || "${cp_copy[@]}" "$from" "$stick/cp-$project"
  local peers=("c_$case" "r_$case")
  ((${#rsync_copy[@]})) || peers=("c_$case")
  [[ -d $stick/rsync-$project || ${#rsync_copy[@]} == 0 ]] ||
    "${rsync_copy[@]}" "$from/" "$stick/rsync-$project/"
  local -n no_change_pellmar=p_$case no_change_cp=c_$case no_change_rsync=r_$case \
    no_change_floor=f_$case
  no_change_pellmar=("$bin" "$verb" "$project" --yes)
  # A Load writes onto the project's side alone: nothing to write out.
  local synced=""
  if [[ $verb == send ]]; then
    no_change_cp=("${then_sync[@]}" "${cp_update[@]}" "$from/." "$stick/cp-$project/")
    no_change_rsync=("${then_sync[@]}" "${rsync_copy[@]}" "$from/" "$stick/rsync-$project/")
    synced="; sync -f"
  else
    no_change_cp=("${cp_update[@]}" "$stick/cp-$project/." "$from/")
    no_change_rsync=("${rsync_copy[@]}" "$stick/rsync-$project/" "$from/")
  fi
  no_change_floor=("$logs/tree_stat" "$from" "$to")
  label[c_$case]="${cp_update[*]}$synced" label[r_$case]="${rsync_copy[*]}$synced"
  label[f_$case]="stat floor (2 trees)"
  expect_copied[p_$case]=0
  if on_fuse; then
    local name
    for name in "p_$case" "${peers[@]}" "f_$case"; do prepare[$name]=let_names_expire; done
  fi
  alternate "$case" "$rounds" "p_$case" "${peers[@]}" "f_$case"
}

on_fuse() { [[ $medium == exfat || ($medium == fat32 && $fat_driver == fusefat) ]]; }

# A FUSE driver's answers about names live in the kernel for one second
# (libfuse's default, which exfat-fuse and fusefat keep). The floor walks
# pellmar's own trees, so a pellmar run right after it would find every
# name fresh while cp and rsync, each on a tree of its own, find theirs
# expired: every timed run starts once they have all expired.
let_names_expire() { sleep 1.2; }

# A no-change Send onto a stick just plugged in, against cp's update of its
# own tree after the same: every run starts with cold caches.
cold_send() {
  local case=$1 project=$2 rounds=$3
  local from=$docs/$project
  local -n cold_pellmar=p_$case cold_cp=c_$case
  cold_pellmar=("$bin" send "$project" --yes)
  cold_cp=("${then_sync[@]}" "${cp_update[@]}" "$from/." "$stick/cp-$project/")
  label[c_$case]="${cp_update[*]}; sync -f"
  prepare[p_$case]=cold_caches prepare[c_$case]=cold_caches
  expect_copied[p_$case]=0
  alternate "$case" "$rounds" "p_$case" "c_$case"
}

# The copies a first Send left on the stick, as the medium holds them once
# plugged in again: every file with its bytes and its last-write time
# within the medium's steps (FAT: 2 s; exfat-fuse keeps whole seconds). A copy that is not
# whole would make every later case time another job.
check_copies() {
  local project=$1 slack=$2 copy
  replug_stick
  for copy in "$stick/Sync/$project" "$stick/cp-$project"; do
    if ! python3 "$bench/make_tree.py" check "$docs/$project" "$copy" "$slack" > "$logs/check.out"; then
      cat "$logs/check.out" >&2
      echo "bench: $(medium_name "$medium"): the copy in $copy is not whole (above)" >&2
      exit 1
    fi
    check_lines+=("$(printf '%-8s %s' "$(medium_name "$medium")" \
      "$(tail -n 1 "$logs/check.out" | sed "s|^$stick/|E:/|")")")
  done
}

# The copies on the stick of 1% of the project's files (the first file of
# each folder), dated back to 2000 before each run, so that every run finds
# exactly those newer on the disk.
age_one_percent() {
  find "$stick/Sync/$main" -name 'file00000.*' -exec touch -d 2000-01-01 {} +
  sync
}

# A Send with its plan against the same Send without one, with nothing to
# do and with 1% to copy.
plan_cost() {
  local project=$1 files=$2 rounds=$3
  "$bin" send "$project" --yes > "$logs/first.out" 2>&1 ||
    { echo "bench: the first Send of $project failed" >&2; exit 1; }
  sync
  local -n plan_idle=p_plan_idle bare_idle=n_plan_idle plan_some=p_plan_some bare_some=n_plan_some
  plan_idle=(env "$bin" send "$project" --yes)
  bare_idle=(env PELLMAR_NO_PLAN=1 "$bin" send "$project" --yes)
  plan_some=("${plan_idle[@]}") bare_some=("${bare_idle[@]}")
  label[n_plan_idle]="PELLMAR_NO_PLAN=1" label[n_plan_some]="PELLMAR_NO_PLAN=1"
  expect_copied[p_plan_idle]=0 expect_copied[n_plan_idle]=0
  expect_copied[p_plan_some]=$((files / 100)) expect_copied[n_plan_some]=$((files / 100))
  prepare[p_plan_some]=age_one_percent prepare[n_plan_some]=age_one_percent
  alternate plan_idle "$rounds" p_plan_idle n_plan_idle
  alternate plan_some "$rounds" p_plan_some n_plan_some
}

list_case() {
  p_list=("$bin" list)
  alternate list $((runs * 2)) p_list
  local entries
  entries=$("$bin" list | wc -l)
  [[ $entries == 30 ]] || { echo "bench: pellmar list showed $entries entries, not 30" >&2; exit 1; }
}

# Frees a project's trees; its entry keeps an empty folder, as `list` expects.
drop_project() {
  rm -rf "${docs:?}/$1" "$stick/Sync/$1" "$stick/cp-$1" "$stick/rsync-$1"
  mkdir "$docs/$1"
}

# 100000 -> 100,000
k() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<< "$1"; }

# --- media ------------------------------------------------------------------

# Cases 1 to 5 on two tmpfs: the program's own cost, with the least the
# file systems add.
run_tmpfs() {
  main=small$main_files
  local projects=() n
  for n in "${sizes[@]}"; do projects+=("small$n"); done
  write_settings "${projects[@]}" large
  make_small "$main_files"
  first_send first "$main" "$main_files" "$slow_runs"
  no_change send "$main" "$runs" send
  no_change load "$main" "$runs" load

  echo "writing $large_count files of $large_mb MB ..." >&2
  python3 "$bench/make_tree.py" large "$docs/large" "$large_count" "$large_mb"
  first_send large large "$large_count" "$runs"
  drop_project large

  for n in "${sizes[@]}"; do
    [[ $n == "$main_files" ]] && continue
    make_small "$n"
    first_send "first$n" "small$n" "$n" $((n > main_files ? slow_runs : runs))
    no_change "send$n" "small$n" $((n > main_files ? slow_runs : runs)) send
    drop_project "small$n"
  done
  list_case

  row "1 no-change Send, $(k "$main_files") files" send p_send c_send 0.9
  row "" send p_send r_send 0.75
  row "" send p_send f_send 1.35
  row "2 no-change Load, $(k "$main_files") files" load p_load c_load
  row "" load p_load r_load
  row "" load p_load f_load
  row "3 first Send, $(k "$main_files") files" first p_first c_first 1.0
  row "3 first Send, $large_count x $large_mb MB" large p_large c_large 1.05
  for n in "${sizes[@]}"; do
    local memory=""
    ((n == 300000)) && memory="mem<30"
    if [[ $n == "$main_files" ]]; then
      row "4 first Send, $(k "$n") files" first p_first c_first "$memory"
      row "4 no-change Send, $(k "$n") files" send p_send c_send
    else
      row "4 first Send, $(k "$n") files" "first$n" "p_first$n" "c_first$n" "$memory"
      row "4 no-change Send, $(k "$n") files" "send$n" "p_send$n" "c_send$n"
    fi
  done
  row_alone "5 pellmar list, 30 entries" list p_list 0.02
}

# Case 7 on an exFAT or FAT32 stick: first Sends, Sends and a Load with
# nothing to do, the same Send onto a stick just plugged in, and large
# files. fusefat takes about 10 ms for each file it creates, in its own
# reads of the FAT, so FAT32 is held to 10,000 small files.
run_stick() {
  local name m=$medium n slack=1 counts first_rounds=$slow_runs
  name=$(medium_name "$m")
  if [[ $m == fat32 ]]; then
    slack=2 counts=(10000)
    ((quick)) && counts=(1000)
  else
    counts=(10000 100000)
    ((quick)) && counts=(2000)
  fi
  local large_files=4 large_size=$((quick ? 32 : 256))
  ((quick)) && large_files=2
  local projects=() top=${counts[-1]}
  for n in "${counts[@]}"; do projects+=("small$n"); done
  write_settings "${projects[@]}" large
  ((${#rsync_copy[@]})) ||
    peer_notes+=("$name: no rsync; fusefat dates a renamed file anew, so rsync's copies would all be copied again on every run")
  # Each case's rows go into the table as soon as it is measured, so a
  # case that fails later takes none of them with it.
  for n in "${counts[@]}"; do
    make_small "$n"
    local rounds=$runs
    [[ $n -ge 100000 || $m == fat32 ]] && rounds=$first_rounds
    first_send "${m}_first$n" "small$n" "$n" "$rounds"
    row "7 $name: first Send, $(k "$n") files" "${m}_first$n" "p_${m}_first$n" "c_${m}_first$n" 0.9
    check_copies "small$n" "$slack"
    no_change "${m}_send$n" "small$n" "$runs" send
    no_change_rows "7 $name: no-change Send, $(k "$n") files" "${m}_send$n" 0.8 0.7
  done
  no_change "${m}_load" "small$top" "$runs" load
  no_change_rows "7 $name: no-change Load, $(k "$top") files" "${m}_load"
  cold_send "${m}_cold" "small$top" "$runs"
  row "7 $name: cold no-change Send, $(k "$top")" "${m}_cold" "p_${m}_cold" "c_${m}_cold" 1.0
  echo "writing $large_files files of $large_size MB ..." >&2
  python3 "$bench/make_tree.py" large "$docs/large" "$large_files" "$large_size"
  first_send "${m}_large" large "$large_files" "$first_rounds"
  row "7 $name: first Send, $large_files x $large_size MB" "${m}_large" "p_${m}_large" \
    "c_${m}_large" 0.9
  check_copies large "$slack"
}

# no_change_rows TITLE CASE [CP_TARGET RSYNC_TARGET]: a no-change case's
# rows, against cp, rsync where it ran, and the floor.
no_change_rows() {
  local title=$1 c=$2
  row "$title" "$c" "p_$c" "c_$c" "${3:-}"
  if ((${#rsync_copy[@]})); then row "" "$c" "p_$c" "r_$c" "${4:-}"; fi
  row "" "$c" "p_$c" "f_$c"
}

# Case 8: Send and Load with nothing to do, both trees on ext4, on an idle
# machine and with one core kept busy by a spinning process.
run_ext4() {
  local n=$main_files load
  write_settings "small$n"
  make_small "$n"
  "$bin" send "small$n" --yes > "$logs/first.out" 2>&1 ||
    { echo "bench: the first Send of small$n failed" >&2; exit 1; }
  for load in idle busy; do
    [[ $load == busy ]] && start_spinner
    no_change "ext4_send_$load" "small$n" "$runs" send
    no_change "ext4_load_$load" "small$n" "$runs" load
    stop_spinner
  done
  for load in idle busy; do
    local verb
    for verb in send load; do
      no_change_rows "8 ext4: no-change ${verb^}, $(k "$n") files, $load" "ext4_${verb}_$load" 0.9 0.75
    done
  done
  memory_cost "small$n" "$n"
}

# Case 11: what the memory of the runs costs a no-change Send, against the
# same Send with PELLMAR_NO_MEMORY=1, which neither reads nor keeps one.
memory_cost() {
  local project=$1 n=$2 kept
  p_memory=("$bin" send "$project" --yes)
  n_memory=(env PELLMAR_NO_MEMORY=1 "$bin" send "$project" --yes)
  label[n_memory]="PELLMAR_NO_MEMORY=1"
  expect_copied[p_memory]=0 expect_copied[n_memory]=0
  alternate memory "$runs" p_memory n_memory
  kept=$(find "$XDG_STATE_HOME/pellmar" -name '*.runs' -printf '%s\n' | sort -n | tail -1)
  row "11 ext4: memory ($(k "$n") files, $((kept / 1024)) kB)" memory p_memory n_memory 1.1
}

# Case 9: the window's first Send of 50,000 files against the command
# line's, both trees on tmpfs.
run_window() {
  local n=$((quick ? 5000 : 50000))
  local project=small$n
  write_settings "$project"
  make_small "$n"
  start_display
  p_window=(window_send "$project")
  c_cli=("$bin" send "$project" --yes)
  self_timed[p_window]=1
  label[c_cli]="pellmar send (command line)"
  fresh_dest[p_window]=$stick/Sync/$project fresh_dest[c_cli]=$stick/Sync/$project
  expect_copied[p_window]=$n expect_copied[c_cli]=$n
  alternate window "$runs" p_window c_cli
  stop_display
  row "9 window: first Send, $(k "$n") files" window p_window c_cli 1.1
}

run_plan() {
  main=small$main_files
  write_settings "$main"
  make_small "$main_files"
  plan_cost "$main" "$main_files" "$runs"
  row "6 no-change Send, $(k "$main_files") files" plan_idle p_plan_idle n_plan_idle
  row "6 Send, $(k $((main_files / 100))) of $(k "$main_files") newer" plan_some p_plan_some n_plan_some
}

# --- the table ----------------------------------------------------------------

# A path as the report shows it: relative to the project, so that a report
# pasted into the README names no folder of the machine it ran on.
shown_path() { realpath -m --relative-to="$root" "$1"; }

program_line() {
  echo "pellmar: $(shown_path "$bin") (built $(date -u -r "$bin" '+%Y-%m-%d %H:%M UTC'))"
}

print_report() {
  echo
  echo "pellmar benchmark, $( ((quick)) && echo "quick run" || echo "full run"), $(date -u '+%Y-%m-%d %H:%M UTC')"
  program_line
  echo "peers:   $(cp --version | head -1); $(rsync --version | head -1 | tr -s ' ')"
  echo "machine: Linux $(uname -r), $(nproc) CPUs ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)), load average $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  printf 'media:   %s\n' "${world_lines[@]}"
  echo "floor:   readdir + fstatat of every entry of source and destination (tree_stat.c, cc -O2)"
  echo "runs:    $runs per contestant after one warm-up each, in alternating order ($slow_runs for first Sends of $(k "$main_files") files or more, and through fusefat); wall seconds; ratio = pellmar median / peer median"
  if wants exfat || wants fat32; then
    echo "cold:    $(drop_caches_text)"
    printf 'checked: %s\n' "${check_lines[@]}"
  fi
  ((${#peer_notes[@]} == 0)) || printf 'peers:   %s\n' "${peer_notes[@]}"
  if wants ext4; then echo "busy:    one core kept busy by sh -c 'while :; do :; done' during the busy cases"; fi
  if wants window; then
    echo "window:  Qt window on Xvfb, timed from the click on Send until the log window is mapped (xev); the command line as a whole process"
  fi
  echo "took:    ${medium_seconds[*]}${medium_seconds[*]:+, }$((SECONDS - started)) s in all"
  echo
  print_table
}

# --- main -------------------------------------------------------------------

if ! ((plan_only)) && ((EUID != 0)); then
  for m in "${media[@]}"; do
    [[ $m == tmpfs ]] && continue
    echo "bench: the $m medium needs root: a loop device and a mount" >&2
    exit 1
  done
fi
install_missing
build_pellmar
work="" spinner="" xvfb_pid="" check_lines=() peer_notes=()
# A run that stops early still shows what it measured until then.
finish() {
  local status=$?
  remove_world
  ((status == 0 || reported || ${#table_rows[@]} == 0)) && return 0
  print_report
  echo
  echo "bench: stopped early (exit $status); the cases above are those measured until then"
}
trap finish EXIT
trap 'exit 130' INT TERM
can_drop_caches=0
[[ -w /proc/sys/vm/drop_caches ]] && (echo 3 > /proc/sys/vm/drop_caches) 2> /dev/null && can_drop_caches=1
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
started=$SECONDS

if ((plan_only)); then
  make_world plan
  run_plan
  echo
  echo "pellmar benchmark, the plan's cost, $(date -u '+%Y-%m-%d %H:%M UTC')"
  program_line
  echo "machine: Linux $(uname -r), $(nproc) CPUs, load average $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  echo "source:  $(place_text "$src");  stick (E:): $(place_text "$stick")"
  echo "runs:    $runs per contestant after one warm-up each, in alternating order; wall seconds; ratio = with plan / PELLMAR_NO_PLAN=1"
  echo
  print_table
  exit 0
fi

medium_seconds=()
reported=0
for m in "${media[@]}"; do
  echo "== $(medium_name "$m") ==" >&2
  medium_started=$SECONDS
  make_world "$m"
  case $m in
    tmpfs) run_tmpfs ;;
    exfat | fat32) run_stick ;;
    ext4) run_ext4 ;;
    window) run_window ;;
    status) run_status ;;
  esac
  note_world
  remove_world
  medium_seconds+=("$(medium_name "$m") $((SECONDS - medium_started)) s")
done

print_report
reported=1
