# Case 10, sourced by run.sh (`--medium status`): `pellmar status` of 30
# projects of 10,000 small files each, everything in place, against the 30
# no-change Sends of the same projects (`pellmar send N` for each, one
# process a project, as a script would run them), both trees on ext4.
# Status plans a Send and a Load of every project; the Load's plan reads
# the folders its Send's plan listed, so the whole is held to 1.2 times
# the Sends. --quick: 3 projects of 1,000 files.
#
# Run on its own (`bash bench/status.sh [--quick] [--runs N]`), it is
# `bash bench/run.sh --medium status`.
# shellcheck shell=bash disable=SC2154,SC2034

# The settings of exactly `count` projects, each a copy of one tree: the
# status then counts the very projects the Sends send, and no idle ones.
write_status_settings() {
  local count=$1 n
  {
    printf '[Setting]\r\n'
    for n in $(seq "$count"); do
      printf 'SyncItem%d=%s\r\nPath in mobile disk%d=E:\\Sync\r\nDuration%d=365\r\n' \
        "$n" "$(ns "$docs/p$n")" "$n" "$n"
      printf 'AutoDelete%d=0\r\nUseZip%d=0\r\nExtensions of excluded files%d=bak, tmp\r\n' \
        "$n" "$n" "$n"
    done
  } > "$home/.config/Pellmar.ini"
}

# Every line of the status says nothing to send and nothing to load: else
# the case would time another job.
check_status_idle() {
  local busy
  busy=$("$bin" status | awk -F'\t' 'NR > 1 && ($3 != 0 || $5 != 0)')
  [[ -z $busy ]] || { printf 'bench: status found work to do:\n%s\n' "$busy" >&2; exit 1; }
}

run_status() {
  local count=$((quick ? 3 : 30)) files=$((quick ? 1000 : 10000)) n
  write_status_settings "$count"
  echo "writing $count projects of $files small files ..." >&2
  python3 "$bench/make_tree.py" small "$docs/p1" "$files"
  for n in $(seq 2 "$count"); do cp -a "$docs/p1" "$docs/p$n"; done
  for n in $(seq "$count"); do
    "$bin" send "$n" --yes > "$logs/first.out" 2>&1 ||
      { echo "bench: the first Send of p$n failed" >&2; exit 1; }
  done
  sync
  check_status_idle
  p_status=("$bin" status)
  s_sends=(sh -c 'for n in $(seq "$1"); do "$0" send "$n" --yes || exit 1; done' "$bin" "$count")
  label[s_sends]="$count x pellmar send N"
  expect_copied[s_sends]=0
  alternate status "$runs" p_status s_sends
  row "10 status, $count x $(k "$files") files" status p_status s_sends 1.2
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  exec bash "$(dirname "$0")/run.sh" --medium status "$@"
fi
