# The benchmark's runner and its table, sourced by run.sh.
# Contestants are arrays holding a command line; `label` names them in the
# table, `fresh_dest` says which folder must be gone before a copying run,
# `prepare` names a function run untimed before each run, and
# `expect_copied` what a pellmar run must report ("Copied: N"). A
# contestant in `self_timed` is a shell function that times itself: it
# leaves its wall time in `run_wall_us` and its peak in `run_peak_kb`.
# Results are kept per "case/contestant": wall times in microseconds, peak
# resident sizes in KB. run.sh sets `logs`, the folder for run output.
# shellcheck shell=bash disable=SC2154

declare -A label fresh_dest prepare expect_copied self_timed walls peaks

run_failed() {
  local -n failed_command=$1
  printf 'bench: %s failed:\n' "${failed_command[*]}" >&2
  tail -n 5 "$2" >&2
  exit 1
}

# Runs one contestant once and records its wall time and peak memory.
# /usr/bin/time gives the peak; its own wall figure is 10 ms coarse, so
# the wall time comes from the shell's microsecond clock around the same
# run (which adds the same small start-up of /usr/bin/time to every side).
run_one() {
  local key=$1 name=$2
  local -n command_line=$name
  local out=$logs/$name.out timing=$logs/time.out start end
  [[ -z ${prepare[$name]:-} ]] || "${prepare[$name]}"
  if [[ -n ${fresh_dest[$name]:-} ]]; then
    rm -rf "${fresh_dest[$name]}"
    sync
  fi
  start=${EPOCHREALTIME/./}
  if [[ -n ${self_timed[$name]:-} ]]; then
    "${command_line[@]}" > "$out" 2>&1 || run_failed "$name" "$out"
    start=0 end=$run_wall_us
    echo "0 $run_peak_kb" > "$timing"
  else
    /usr/bin/time -f '%e %M' -o "$timing" "${command_line[@]}" > "$out" 2>&1 ||
      run_failed "$name" "$out"
    end=${EPOCHREALTIME/./}
  fi
  # A no-change run that copied something, or a first run that copied too
  # little, would be timing a different job.
  local expect=${expect_copied[$name]:-}
  if [[ -n $expect ]] && ! grep -q "^Copied: $expect," "$out"; then
    printf 'bench: expected "Copied: %s" from %s, got:\n' "$expect" "${command_line[*]}" >&2
    tail -n 3 "$out" >&2
    exit 1
  fi
  [[ $key == - ]] && return
  walls[$key]+=" $((end - start))"
  peaks[$key]+=" $(awk 'END { print $NF }' "$timing")"
}

# alternate CASE RUNS CONTESTANT...: one untimed warm-up each, then RUNS
# rounds in which every contestant runs once; each round starts one
# contestant later, so no side always runs right after the same other one.
alternate() {
  local case=$1 runs=$2
  shift 2
  local names=("$@") n=$# round i name
  for name in "${names[@]}"; do run_one - "$name"; done
  for ((round = 0; round < runs; round++)); do
    printf '  %s: round %d of %d\n' "$case" $((round + 1)) "$runs" >&2
    for ((i = 0; i < n; i++)); do
      name=${names[(round + i) % n]}
      run_one "$case/$name" "$name"
    done
  done
}

# Prints "median min max" of a list of numbers.
median_min_max() {
  tr ' ' '\n' | awk 'NF' | sort -g | awk '
    { v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          print m, v[1], v[NR] }'
}

# "1.234 (1.201-1.300)" in seconds, from a key's wall times.
seconds_text() {
  median_min_max <<< "${walls[$1]}" |
    awk '{ printf "%.3f (%.3f-%.3f)", $1 / 1e6, $2 / 1e6, $3 / 1e6 }'
}

median_of() { median_min_max <<< "${walls[$1]}" | awk '{ print $1 }'; }
peak_mb_of() { median_min_max <<< "${peaks[$1]}" | awk '{ printf "%.1f", $3 / 1024 }'; }

table_rows=()

# row TITLE CASE PELLMAR PEER [TARGET]: pellmar against one peer. TARGET is
# the highest ratio allowed, "mem<MB" for a peak memory bound, or empty.
# An empty TITLE continues the case above, and its pellmar figures are not
# repeated.
row() {
  local title=$1 case=$2 ours=$3 peer=$4 target=${5:-}
  local mine="" peak="" ratio verdict="" target_text=""
  if [[ -n $title ]]; then
    mine=$(seconds_text "$case/$ours")
    peak=$(peak_mb_of "$case/$ours")
  fi
  ratio=$(awk -v a="$(median_of "$case/$ours")" -v b="$(median_of "$case/$peer")" \
    'BEGIN { printf "%.2f", a / b }')
  if [[ $target == mem\<* ]]; then
    target_text="< ${target#mem<} MB peak"
    verdict=$(awk -v p="$(peak_mb_of "$case/$ours")" -v t="${target#mem<}" \
      'BEGIN { print (p < t) ? "met" : "MISSED" }')
  elif [[ -n $target ]]; then
    target_text="<= $target x"
    verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t) ? "met" : "MISSED" }')
  fi
  table_rows+=("$(printf '%-44s %-27s %7s  %-37s %-25s %6s  %-13s %s' "$title" "$mine" "$peak" \
    "${label[$peer]}" "$(seconds_text "$case/$peer")" "$ratio" "$target_text" "$verdict")")
}

# row_alone TITLE CASE PELLMAR MAX_SECONDS: pellmar on its own, held to a time.
row_alone() {
  local title=$1 case=$2 ours=$3 limit=$4
  local verdict
  verdict=$(awk -v m="$(median_of "$case/$ours")" -v t="$limit" \
    'BEGIN { print (m / 1e6 < t) ? "met" : "MISSED" }')
  table_rows+=("$(printf '%-44s %-27s %7s  %-37s %-25s %6s  %-13s %s' "$title" \
    "$(seconds_text "$case/$ours")" "$(peak_mb_of "$case/$ours")" "(none)" "" "" \
    "< $limit s" "$verdict")")
}

print_table() {
  {
    printf '%-44s %-27s %7s  %-37s %-25s %6s  %s\n' "Case" "pellmar s, median (min-max)" \
      "peak MB" "peer" "peer s, median (min-max)" "ratio" "target"
    printf '%s\n' "${table_rows[@]}"
  } | sed 's/ *$//'
}
