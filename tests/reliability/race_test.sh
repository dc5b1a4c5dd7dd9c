#!/bin/bash
# The user keeps working while a run goes. A Load with auto-delete runs
# while another process saves files on both sides, in place and by rename:
# the last save of every file survives, in every round; what changed after
# it was decided on is named, and the exit code is 1. A file written into
# while Send copies it is named as changed while copied, and the copy on the
# stick stays the whole older one.
. "$(dirname "$0")/lib.sh"
: "${PELLMAR_SAVE_LOOP:?set PELLMAR_SAVE_LOOP to the built pellmar_save_loop}"
rel_need_tools shuf
rel_world
ROUNDS=${REL_RACE_ROUNDS:-10}
FILES=${REL_RACE_FILES:-3000}
P=$REL_W/work/P S=$REL_STICK/Sync/P
rel_settings "$P|E:\\Sync|7|1"
mkdir -p "$REL_STICK/Sync" "$REL_W/log/temp" "$REL_W/work"

# The last save of each file logged, against what the file holds now: that
# save, or a later one made on the other side, which Load rightly brings.
lost_saves() {
  awk -F'\t' '{ last[$2] = $1 }
              END { for (p in last) { line = ""; getline line < p; close(p)
                                       split(line, word, " ")
                                       if (word[1] != "saved" || word[2] + 0 < last[p] + 0) {
                                         n++; print p > "/dev/stderr" } }
                    print n + 0 }' "$REL_W/log/saves" 2>"$REL_W/log/lost"
}

# The stick holds a newer version of each file, old enough for auto-delete:
# Load copies it back and then deletes it, while the user saves both sides.
rel_tree "$REL_W/pool/P" "$FILES" 100 64 '-40 days'
rel_tree "$REL_W/pool/S" "$FILES" 100 80 '-30 days'
lost_total=0 saved_total=0 changed_total=0
for ((round = 1; round <= ROUNDS; round++)); do
  rm -rf "$P" "$S" "$REL_W/home/.local"
  cp -a "$REL_W/pool/P" "$P" && cp -a "$REL_W/pool/S" "$S"
  find "$P" "$S" -type f | shuf >"$REL_W/log/list"
  rm -f "$REL_W/log/stop"
  "$PELLMAR_SAVE_LOOP" loop "$REL_W/log/list" "$REL_W/log/saves" "$REL_W/log/stop" \
    "$REL_W/log/temp" "$round" &
  saver=$!
  rel_run load P
  touch "$REL_W/log/stop"
  wait "$saver"
  lost=$(lost_saves)
  saved=$(cut -f2 "$REL_W/log/saves" | sort -u | wc -l)
  left=$(sed -n 's/.*left alone: \([0-9]*\).*/\1/p' <<<"$REL_OUT")
  ((lost == 0)) || rel_fail "round $round: $lost saves lost, e.g. $(head -3 "$REL_W/log/lost" | tr '\n' ' ')"
  if [ "${left:-0}" -gt 0 ]; then
    rel_expect_rc "round $round, $left left alone" 1
    rel_expect_named "round $round" "changed during the run"
  else
    rel_expect_rc "round $round, nothing left alone" 0
  fi
  lost_total=$((lost_total + lost)) saved_total=$((saved_total + saved))
  changed_total=$((changed_total + ${left:-0}))
done
rel_note "Load with auto-delete while files are saved on both sides: $ROUNDS rounds of $FILES" \
  "files a side, $saved_total files saved during the runs, $lost_total saves lost," \
  "$changed_total left alone and named"

# A file written into while it is copied: the old copy on the stick stays.
rm -rf "$P" "$S"
mkdir -p "$P" "$S"
head -c $((32 << 20)) /dev/urandom >"$P/big.bin"
echo "the copy sent before" >"$S/big.bin"
touch -d '-1 hour' "$P/big.bin" && touch -d '-2 hours' "$S/big.bin"
before=$(sha256sum <"$S/big.bin")
"$PELLMAR_SAVE_LOOP" on-read "$P/big.bin" >"$REL_W/log/watch" &
writer=$!
until [ -s "$REL_W/log/watch" ] || ! kill -0 "$writer" 2>/dev/null; do sleep 0.01; done
if [ ! -s "$REL_W/log/watch" ]; then
  rel_note "SKIP written into while copied: the kernel holds no reads here (needs root)"
  rel_finish
fi
rel_run send P
wait "$writer"
rel_expect_rc "written into while copied" 1
rel_expect_named "written into while copied" "big.bin: changed while copied"
[ "$(sha256sum <"$S/big.bin")" = "$before" ] ||
  rel_fail "written into while copied: the stick's copy is no longer the older whole one"
rel_run send P
rel_expect_rc "sent again, held still" 0
cmp -s "$P/big.bin" "$S/big.bin" || rel_fail "sent again, held still: the copy differs"
rel_note "32 MB file written into while copied: named, exit 1, older copy kept whole;" \
  "sent whole once it held still"
rel_finish
