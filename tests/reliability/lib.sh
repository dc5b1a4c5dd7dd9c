# Shared by the fault scripts: a temp world of their own, settings, trees,
# snapshots, and the checks every case ends with. Sourced, never run.
# Needs PELLMAR_BINARY (the built pellmar); exit 77 means "skipped".

set -u
: "${PELLMAR_BINARY:?set PELLMAR_BINARY to the built pellmar}"
REL_NAME=$(basename "$0" _test.sh)
REL_FAILS=0

rel_skip() { echo "SKIP $REL_NAME: $*"; exit 77; }
rel_fail() { REL_FAILS=$((REL_FAILS + 1)); echo "FAIL $REL_NAME: $*"; }
rel_note() { echo "$REL_NAME: $*"; }
rel_finish() {
  ((REL_FAILS == 0)) && { rel_note "every assertion held"; exit 0; }
  rel_note "$REL_FAILS assertion(s) failed"; exit 1
}
rel_need_root() { [ "$(id -u)" = 0 ] || rel_skip "needs root for $*"; }
rel_need_tools() {
  local t; for t; do command -v "$t" >/dev/null || rel_skip "needs $t (not installed)"; done
}

# The world below $REL_W: home (settings in home/.config), stick (drive E:),
# fence (files nothing may touch) and log (the program's output).
rel_world() {
  REL_W=$(mktemp -d /tmp/pellmar-rel.XXXXXX)
  chmod 755 "$REL_W"
  trap rel_cleanup EXIT
  trap 'exit 130' INT TERM HUP PIPE # so that the cleanup runs then too
  mkdir -p "$REL_W"/{home/.config,home/Documents,stick,fence/tree,log}
  REL_INI=$REL_W/home/.config/Pellmar.ini
  REL_STICK=$REL_W/stick
  REL_DRIVES="E:=$REL_STICK"
  echo "not to be touched" >"$REL_W/fence/secret.txt"
  echo "nor this" >"$REL_W/fence/tree/inner.txt"
}
rel_cleanup() {
  cd /
  rel_unmount_below "$REL_W"
  local m
  for m in ${REL_LOOPS:-}; do losetup -d "$m" 2>/dev/null; done
  chmod -R u+rwx "$REL_W" 2>/dev/null
  rm -rf "$REL_W"
}
# Every mount at or below FOLDER goes, the deepest first.
rel_unmount_below() {
  local m
  for m in $(awk -v w="$1" 'index($5, w) == 1 { print $5 }' /proc/self/mountinfo | sort -r); do
    umount -l "$m" 2>/dev/null
  done
}
rel_mount_tmpfs() { # FOLDER BYTES [OPTIONS]
  mkdir -p "$1"
  mount -t tmpfs -o "size=$2${3:+,$3}" tmpfs "$1" 2>/dev/null || rel_skip "cannot mount a tmpfs"
}

# One entry per argument "FOLDER|REMOVABLE|DAYS|AUTODELETE": FOLDER a host
# path (C:\ is /) or a namespace path, REMOVABLE a namespace path.
rel_settings() {
  local n=0 entry folder media days auto
  for entry; do
    n=$((n + 1))
    IFS='|' read -r folder media days auto <<<"$entry"
    [[ $folder == *:* ]] || { folder="C:$folder" && folder=${folder//\//\\}; }
    printf 'SyncItem%d=%s\r\nPath in mobile disk%d=%s\r\n' $n "$folder" $n "$media"
    printf 'Duration%d=%s\r\nAutoDelete%d=%s\r\nUseZip%d=0\r\n' $n "$days" $n "$auto" $n
    printf 'Extensions of excluded files%d=ini, bak\r\n' $n
  done | { printf '[Setting]\r\n'; cat; } >"$REL_INI"
}

# FOLDER COUNT PER_FOLDER BYTES [DATE]: COUNT files spread over sub-folders
# d0, d1..., each holding its own path so no two are alike.
rel_tree() {
  local dir=$1 count=$2 per=$3 bytes=$4 date=${5:-} i sub pad text
  pad=$(head -c "$bytes" /dev/zero | tr '\0' 'x')
  for ((i = 0; i < count; i++)); do
    sub=$dir/d$((i / per))
    ((i % per == 0)) && mkdir -p "$sub"
    text="$sub/f$i.txt"$'\n'"$pad"
    printf '%s' "${text:0:bytes}" >"$sub/f$i.txt"
  done
  [ -z "$date" ] || find "$dir" -exec touch -h -d "$date" {} +
}
rel_random_file() { head -c "$2" /dev/urandom >"$1"; } # PATH BYTES

# The checksums of the files below FOLDER, "sum  ./path" sorted by path.
rel_sums() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum 2>/dev/null); }
# FOLDER [LEFT_OUT...]: every entry with type, time and link target (folders
# without time: their contents tell), then every file's checksum; entries
# at the paths LEFT_OUT (relative to FOLDER) are left out.
rel_snapshot() {
  local dir=$1 p prune=()
  shift
  for p; do prune+=(-path "./$p" -prune -o); done
  (cd "$dir" && {
    find . -mindepth 1 "${prune[@]}" \( -type d -printf 'd %p\0' -o -printf '%y %T@ %l %p\0' \) |
      sort -z | tr '\0\n' '\n?'
    find . -mindepth 1 "${prune[@]}" -type f -print0 | sort -z | xargs -0 -r sha256sum 2>/dev/null
  })
}
rel_same() { # WHAT BEFORE AFTER: fails naming the first differences
  local diffs
  diffs=$(diff <(echo "$2") <(echo "$3") | grep '^[<>]')
  [ -z "$diffs" ] && return 0
  rel_fail "$1: $(grep -c . <<<"$diffs") entries differ, e.g. $(head -3 <<<"$diffs" | tr '\n' ' ')"
}

# SOURCE TARGET (SOURCE a folder or a file of its rel_sums): REL_WHOLE files
# in TARGET are whole copies, REL_TORN are anything else (torn, debris),
# REL_ABSENT files of SOURCE are missing (their names in REL_ABSENT_NAMES).
rel_compare_copy() {
  local out
  out=$(awk '{ sub(/^\\/, "") } NR == FNR { want[substr($0, 67)] = $1; next }
             { p = substr($0, 67); if (p in want && want[p] == $1) { whole++; seen[p] = 1 }
               else torn++ }
             END { for (p in want) if (!(p in seen)) { absent++; print p > "/dev/stderr" }
                   printf "%d %d %d\n", whole, absent, torn }' \
    <(if [ -f "$1" ]; then cat "$1"; else rel_sums "$1"; fi) <(rel_sums "$2") \
    2>"$REL_W/log/absent")
  read -r REL_WHOLE REL_ABSENT REL_TORN <<<"$out"
  REL_ABSENT_NAMES=$(sed 's/.*\///' "$REL_W/log/absent")
}
# SUMS DIR...: REL_LOST files of a rel_sums list that no DIR holds whole at
# the same path; REL_LOST_NAMES shows a few.
rel_lost() {
  local sums=$1 dir; shift
  REL_LOST=$(for dir; do rel_sums "$dir"; done | sed 's/^\\//' |
    awk 'NR == FNR { want[$0] = 1; next } { delete want[$0] }
         END { for (l in want) { n++; print substr(l, 67) > "/dev/stderr" }; print n + 0 }' \
      <(sed 's/^\\//' "$sums") - 2>"$REL_W/log/lost")
  REL_LOST_NAMES=$(head -5 "$REL_W/log/lost" | tr '\n' ' ')
}

# The program runs with the world's environment and nothing of the caller's
# but a sanitizer build's options and the system bus.
# rel_run ARGS sets REL_RC (124: killed as hung) and REL_OUT (stdout and
# stderr); rel_start ARGS starts it in the background as REL_PID, rel_wait
# collects it. REL_RUN_AS prefixes a command (setpriv); REL_VERBOSE=1 shows
# the start of each output.
rel_env() {
  REL_ENV=(env -i HOME="$REL_W/home" XDG_CONFIG_HOME="$REL_W/home/.config"
    XDG_DOCUMENTS_DIR="$REL_W/home/Documents" PELLMAR_DRIVES="$REL_DRIVES" PATH=/usr/bin:/bin)
  # A sanitizer build's options (stop at the first report, the suppressions)
  # hold for the program it runs too, and so does a system bus of the
  # script's own.
  local v
  for v in TSAN_OPTIONS ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS DBUS_SYSTEM_BUS_ADDRESS; do
    [ -z "${!v:-}" ] || REL_ENV+=("$v=${!v}")
  done
}
rel_run() {
  rel_env
  timeout -s KILL "${REL_TIMEOUT:-120}" "${REL_ENV[@]}" ${REL_RUN_AS:-} \
    "${REL_PROGRAM:-$PELLMAR_BINARY}" "$@" >"$REL_W/log/out" 2>&1 </dev/null
  REL_RC=$?
  ((REL_RC == 137)) && REL_RC=124
  rel_collect "$@"
}
rel_start() {
  rel_env
  "${REL_ENV[@]}" "$PELLMAR_BINARY" "$@" >"$REL_W/log/out" 2>&1 </dev/null &
  REL_PID=$!
}
rel_wait() { wait "$REL_PID"; REL_RC=$?; rel_collect; }
rel_collect() {
  REL_OUT=$(cat "$REL_W/log/out")
  [ -z "${REL_VERBOSE:-}" ] || { echo "--- pellmar $*: exit $REL_RC"; head -20 <<<"$REL_OUT"; } >&2
  # In a sanitizer build a report fails the case whatever the exit code,
  # also in a run that was killed on purpose.
  if grep -qE '(WARNING|ERROR|SUMMARY): [A-Za-z]+Sanitizer' <<<"$REL_OUT"; then
    rel_fail "pellmar $*: a sanitizer report:"$'\n'"$(head -c 4000 <<<"$REL_OUT")"
  fi
}

rel_expect_rc() { # WHAT CODE
  [ "$REL_RC" = "$2" ] && return 0
  rel_fail "$1: exit code $REL_RC, expected $2; output: $(head -c 300 <<<"$REL_OUT" | tr '\n' '|')"
}
rel_expect_named() { # WHAT TEXT...: each TEXT occurs in the output
  local what=$1 text; shift
  for text; do
    grep -qF -- "$text" <<<"$REL_OUT" || rel_fail "$what: \"$text\" not named in the output"
  done
}
rel_expect_absent_named() { # WHAT: each of REL_ABSENT_NAMES occurs in the output
  local name first=""
  REL_UNNAMED=0
  while read -r name; do
    [ -z "$name" ] || grep -qF -- "$name" <<<"$REL_OUT" && continue
    REL_UNNAMED=$((REL_UNNAMED + 1)) && first=${first:-$name}
  done <<<"$REL_ABSENT_NAMES"
  ((REL_UNNAMED == 0)) || rel_fail "$1: $REL_UNNAMED files not copied, never named (e.g. $first)"
}
