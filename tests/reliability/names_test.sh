#!/bin/bash
# Names and folders that once turned into lost files. A user's files named
# like the program's scratch files are data: a dry run changes nothing, a
# Send copies them all, the versions it replaces going to the trash unless
# the settings say KeepReplaced=0, a Load brings them back. A folder of the project
# that is a link to another place: Load writes nothing behind it, names it
# and exits 1.
. "$(dirname "$0")/lib.sh"
rel_world
P=$REL_W/work/P S=$REL_STICK/Sync/P O=$REL_W/fence/outside
rel_settings "$P|E:\\Sync|7|1"
mkdir -p "$REL_STICK/Sync"
look_alikes=(.pellmar-ignore .pellmar-config sub/.pellmar-backup.tmp .pellmar-abcdef/inner.txt)
for name in "${look_alikes[@]}"; do
  mkdir -p "$(dirname "$P/$name")" && echo "a user's $name" >"$P/$name"
done
echo "plain" >"$P/plain.txt"
find "$P" -exec touch -d '-1 hour' {} +
project=$(rel_snapshot "$P")
# An earlier version of each on the stick, which a dry run must not touch.
cp -a "$P" "$S" && find "$S" -type f -exec sh -c 'echo older >"$1"' _ {} \;
find "$S" -exec touch -d '-3 hours' {} +  # not an hour apart: that is one version
stick=$(rel_snapshot "$REL_W/stick")

rel_run send P --dry-run
rel_expect_rc "dry run beside look-alike names" 0
rel_same "dry run: the project" "$project" "$(rel_snapshot "$P")"
rel_same "dry run: the stick" "$stick" "$(rel_snapshot "$REL_W/stick")"
rel_expect_named "dry run: what would be copied" .pellmar-ignore .pellmar-backup.tmp inner.txt

rel_run send P
rel_expect_rc "send of look-alike names" 0
rel_compare_copy "$P" "$S"
((REL_WHOLE == 5 && REL_ABSENT == 0)) || rel_fail "look-alike names: $REL_WHOLE of 5 sent whole"
rel_expect_named "the older versions the send replaced" "kept in the trash: 5"
trashed=$(ls -A "$REL_W/home/.local/share/Trash/files" | wc -l)
((trashed == 5)) || rel_fail "the older versions the send replaced: $trashed in the trash, not 5"
# Told to keep nothing, the next replacement keeps nothing.
printf 'KeepReplaced=0\r\n' >>"$REL_INI"
echo "edited" >>"$P/plain.txt"
rel_run send P
rel_expect_named "a replacement with KeepReplaced=0" "Copied: 1," "kept in the trash: 0"
trashed=$(ls -A "$REL_W/home/.local/share/Trash/files" | wc -l)
((trashed == 5)) || rel_fail "a replacement with KeepReplaced=0: $trashed in the trash, not 5"
project=$(rel_snapshot "$P")
rm -rf "$P" && mkdir -p "$P"
rel_run load P
rel_expect_rc "load of look-alike names" 0
rel_same "look-alike names loaded back" "$project" "$(rel_snapshot "$P")"
rel_note "look-alike names (${look_alikes[*]}): a dry run changed nothing, 5 of 5 sent and" \
  "loaded back whole"

# A folder of the project that leads elsewhere.
mkdir -p "$O" && echo "outside, older" >"$O/config.txt" && touch -d '-3 hours' "$O/config.txt"
ln -s "$O" "$P/shared"
mkdir -p "$S/shared" && echo "newer on the stick" >"$S/shared/config.txt"
echo "new here" >"$S/shared/new.txt"
outside=$(rel_snapshot "$O")
rel_run load P
rel_expect_rc "load into a project folder that is a link" 1
rel_expect_named "load into a project folder that is a link" "shared: reached through a link"
rel_same "load into a project folder that is a link: the place it leads to" "$outside" \
  "$(rel_snapshot "$O")"
rel_note "project folder linked elsewhere: nothing written behind it, named, exit $REL_RC"
rel_finish
