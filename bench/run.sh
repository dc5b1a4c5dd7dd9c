#!/usr/bin/env bash
# Times `pellmar send`, `load` and `list` against cp, rsync and the bare
# cost of stat'ing both trees, on deterministic trees in tmpfs mounts, and
# prints one table of medians and ratios (pellmar / peer).
#
# Usage: bash bench/run.sh [--quick | --plan] [--runs N]
#   --quick   10,000 small files only, 3 rounds: a try-out of a few seconds
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
#             files or more)
# PELLMAR_BIN=path skips the Release build and times that binary instead.
# The contestants' arrays are filled through namerefs and read in measure.sh.
# shellcheck disable=SC2034
set -euo pipefail

bench=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$bench")
quick=0
plan_only=0
runs=5
while (($#)); do
  case $1 in
    --quick) quick=1 runs=3 ;;
    --plan) plan_only=1 ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    *) echo "usage: bash bench/run.sh [--quick | --plan] [--runs N]" >&2; exit 2 ;;
  esac
  shift
done
slow_runs=$((runs < 3 ? runs : 3))
if ((quick)); then
  sizes=(10000) large_count=8 large_mb=32
else
  sizes=(10000 100000 300000) large_count=8 large_mb=256
fi
main_files=$((quick ? 10000 : 100000))

source "$bench/measure.sh"

# --- tools ---------------------------------------------------------------

install_missing() {
  local missing=()
  command -v rsync > /dev/null || missing+=(rsync)
  [[ -x /usr/bin/time ]] || missing+=(time)
  command -v cc > /dev/null || missing+=(gcc)
  [[ -x /usr/bin/python3 ]] || missing+=(python3)
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
    echo "bench: the build failed (whole log: $build_log)" >&2
    exit 1
  fi
  bin=$root/build-bench/pellmar
}

# --- the temp world --------------------------------------------------------

# Source and stick each get a tmpfs of their own, so the host disk's
# writeback and the other side's pages decide nothing. Without the right to
# mount, plain folders do, and the header says so. The plan's cost is
# measured on the host disk itself: /var/tmp, which is a disk folder where
# /tmp may be a tmpfs.
make_world() {
  local parent=/tmp
  ((plan_only)) && parent=/var/tmp
  work=$(mktemp -d "$parent/pellmar-bench-XXXXXX")
  src=$work/src stick=$work/stick
  mkdir -p "$src" "$stick"
  local m
  for m in "$src" "$stick"; do
    ((plan_only)) && break
    if mount -t tmpfs -o mode=0755 pellmar-bench "$m" 2> /dev/null; then mounted+=("$m"); fi
  done
  # The runs' output stays off the host disk too.
  home=$src/home docs=$src/home/Documents logs=$src/logs
  # A pellmar run that wrote onto the stick ends once the stick's file
  # system is written out (syncfs), so a peer that writes there is timed up
  # to the same point: `sync -f` on the stick follows it in the timed
  # command. Use: "${then_sync[@]}" cp -a FROM TO.
  then_sync=(sh -c '"$@" && exec sync -f "$0"' "$stick")
  mkdir -p "$docs" "$home/.config" "$stick/Sync" "$logs"
  cc -O2 -o "$logs/tree_stat" "$bench/tree_stat.c"
}

remove_world() {
  local m
  for m in "${mounted[@]}"; do umount "$m" || umount -l "$m"; done
  [[ -z $work ]] || rm -rf "$work"
}

place_text() {
  local fs
  fs=$(stat -f -c %T "$1")
  if [[ " ${mounted[*]} " == *" $1 "* ]]; then echo "$fs, mounted for this run"; elif ((plan_only)); then
    echo "$fs, a plain folder on the host disk"
  else
    echo "$fs, a plain folder (mounting was not allowed)"
  fi
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

# First Send of a whole project against cp -a of the same folder.
first_send() {
  local case=$1 project=$2 files=$3 rounds=$4
  local -n first_send_pellmar=p_$case first_send_cp=c_$case
  first_send_pellmar=("$bin" send "$project" --yes)
  first_send_cp=("${then_sync[@]}" cp -a "$docs/$project" "$stick/cp-$project")
  label[c_$case]="cp -a; sync -f"
  fresh_dest[p_$case]=$stick/Sync/$project
  fresh_dest[c_$case]=$stick/cp-$project
  expect_copied[p_$case]=$files
  alternate "$case" "$rounds" "p_$case" "c_$case"
}

# Send and Load when everything is already in place. The peers keep trees
# of their own that they made themselves, so they too find nothing to do;
# the floor walks pellmar's two trees.
no_change() {
  local case=$1 project=$2 rounds=$3 verb=$4
  local from=$docs/$project to=$stick/Sync/$project
  [[ -d $stick/cp-$project ]] || cp -a "$from" "$stick/cp-$project"
  [[ -d $stick/rsync-$project ]] || rsync -a "$from/" "$stick/rsync-$project/"
  local -n no_change_pellmar=p_$case no_change_cp=c_$case no_change_rsync=r_$case \
    no_change_floor=f_$case
  no_change_pellmar=("$bin" "$verb" "$project" --yes)
  # A Load writes onto the project's side alone: nothing to write out.
  local synced=""
  if [[ $verb == send ]]; then
    no_change_cp=("${then_sync[@]}" cp -au "$from/." "$stick/cp-$project/")
    no_change_rsync=("${then_sync[@]}" rsync -a "$from/" "$stick/rsync-$project/")
    synced="; sync -f"
  else
    no_change_cp=(cp -au "$stick/cp-$project/." "$from/")
    no_change_rsync=(rsync -a "$stick/rsync-$project/" "$from/")
  fi
  no_change_floor=("$logs/tree_stat" "$from" "$to")
  label[c_$case]="cp -au$synced" label[r_$case]="rsync -a$synced"
  label[f_$case]="stat floor (2 trees)"
  expect_copied[p_$case]=0
  alternate "$case" "$rounds" "p_$case" "c_$case" "r_$case" "f_$case"
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

# --- main -------------------------------------------------------------------

# 100000 -> 100,000
k() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<< "$1"; }

install_missing
build_pellmar
work="" mounted=()
trap remove_world EXIT
trap 'exit 130' INT TERM
make_world
projects=()
for n in "${sizes[@]}"; do projects+=("small$n"); done
write_settings "${projects[@]}" large
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DOCUMENTS_DIR=$docs
export PELLMAR_DRIVES="E:=$stick"
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

main=small$main_files
make_small "$main_files"
if ((plan_only)); then
  plan_cost "$main" "$main_files" "$runs"
  row "6 no-change Send, $(k "$main_files") files" plan_idle p_plan_idle n_plan_idle
  row "6 Send, $(k $((main_files / 100))) of $(k "$main_files") newer" plan_some p_plan_some n_plan_some
  echo
  echo "pellmar benchmark, the plan's cost, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "pellmar: $bin (built $(date -u -r "$bin" '+%Y-%m-%d %H:%M UTC'))"
  echo "machine: Linux $(uname -r), $(nproc) CPUs, load average $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
  echo "source:  $(place_text "$src");  stick (E:): $(place_text "$stick")"
  echo "runs:    $runs per contestant after one warm-up each, in alternating order; wall seconds; ratio = with plan / PELLMAR_NO_PLAN=1"
  echo
  print_table
  exit 0
fi
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

# --- the table ----------------------------------------------------------------

row "1 no-change Send, $(k "$main_files") files" send p_send c_send 0.9
row "" send p_send r_send 0.75
row "" send p_send f_send 1.35
row "2 no-change Load, $(k "$main_files") files" load p_load c_load
row "" load p_load r_load
row "" load p_load f_load
row "3 first Send, $(k "$main_files") files" first p_first c_first 1.0
row "3 first Send, $large_count x $large_mb MB" large p_large c_large 1.05
for n in "${sizes[@]}"; do
  memory=""
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

echo
echo "pellmar benchmark, $( ((quick)) && echo "quick run" || echo "full run"), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "pellmar: $bin (built $(date -u -r "$bin" '+%Y-%m-%d %H:%M UTC'))"
echo "peers:   $(cp --version | head -1); $(rsync --version | head -1 | tr -s ' ')"
echo "machine: Linux $(uname -r), $(nproc) CPUs ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)), load average $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo "source:  $(place_text "$src");  stick (E:): $(place_text "$stick")"
echo "floor:   readdir + fstatat of every entry of source and destination (tree_stat.c, cc -O2)"
echo "runs:    $runs per contestant after one warm-up each, in alternating order ($slow_runs for first Sends of $(k "$main_files") files or more); wall seconds; ratio = pellmar median / peer median"
echo
print_table
