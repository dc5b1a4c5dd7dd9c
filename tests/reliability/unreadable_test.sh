#!/bin/bash
# What a Send cannot read: a folder and a file without read permission (the
# run drops root, which reads everything): each is named and the exit code
# is 1. A folder deeper than the system's path limit is reached through the
# handle of the folder above it, so it is copied like any other. What was
# copied is whole and the project is unchanged.
. "$(dirname "$0")/lib.sh"
rel_world
P=$REL_W/work/P
rel_settings "$P|E:\\Sync|7|0"
mkdir -p "$REL_STICK/Sync"

# CASE NAMED...: Send, then the common checks; NAMED must be in the output.
send_case() {
  local name=$1 source outside
  shift
  source=$(rel_snapshot "$P")
  outside=$(rel_snapshot "$REL_W" work stick log home/.config home/.local)
  rel_run send P
  rel_expect_rc "$name" 1
  rel_expect_named "$name" "$@"
  rel_compare_copy "$P" "$REL_STICK/Sync/P"
  ((REL_TORN == 0)) || rel_fail "$name: $REL_TORN files on the stick are no whole copy"
  rel_same "$name: the project" "$source" "$(rel_snapshot "$P")"
  rel_same "$name: outside the two folders" "$outside" \
    "$(rel_snapshot "$REL_W" work stick log home/.config home/.local)"
  rel_note "$name: exit $REL_RC, $REL_WHOLE copied whole, $REL_ABSENT not copied, $REL_TORN torn"
}

# Unreadable entries, as an ordinary user.
rel_tree "$P/open" 3 3 100 '-1 hour'
rel_tree "$P/locked" 2 2 100 '-1 hour'
echo "no one may read this" >"$P/sealed.txt" && touch -d '-1 hour' "$P/sealed.txt"
chmod 000 "$P/locked" "$P/sealed.txt"
unprivileged=yes
if [ "$(id -u)" = 0 ]; then
  if command -v setpriv >/dev/null; then
    chown -R 65534:65534 "$REL_W"
    REL_RUN_AS="setpriv --reuid=65534 --regid=65534 --clear-groups"
  else
    unprivileged=""
    rel_note "SKIP unreadable entries: root reads everything and setpriv is missing"
  fi
fi
[ -n "$unprivileged" ] && send_case "unreadable folder and file" locked sealed.txt
REL_RUN_AS=""
chmod 755 "$P/locked" && chmod 644 "$P/sealed.txt"
rm -rf "$P" "$REL_STICK/Sync/P"

# A folder below the path limit (4096 bytes): 22 levels of 200-byte names,
# every file copied whole.
long=deep-$(printf 'x%.0s' $(seq 195))
rel_tree "$P" 4 4 100 '-1 hour'
(
  cd "$P" || exit 1
  for ((level = 0; level < 22; level++)); do mkdir "$long$level" && cd "$long$level" || exit 1; done
  echo "out of reach" >bottom.txt && touch -d '-1 hour' bottom.txt
) || rel_skip "cannot build a path beyond the limit here"
rel_run send P
rel_expect_rc "path beyond PATH_MAX" 0
rel_compare_copy "$P" "$REL_STICK/Sync/P"
((REL_ABSENT == 0 && REL_TORN == 0)) ||
  rel_fail "path beyond PATH_MAX: $REL_ABSENT not copied, $REL_TORN torn"
# Too deep for a path: find reaches it folder by folder, as the run does.
bottom=$(find "$REL_STICK/Sync/P" -name bottom.txt -execdir cat {} \; 2>/dev/null)
[ "$bottom" = "out of reach" ] || rel_fail "path beyond PATH_MAX: bottom.txt not copied whole"
rel_note "path beyond PATH_MAX: exit $REL_RC, $REL_WHOLE files and the one 22 levels down copied whole"

rel_note "SKIP a file vanishing between listing and copying: cannot be timed from outside"
rel_finish
