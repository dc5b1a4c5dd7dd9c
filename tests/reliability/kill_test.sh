#!/bin/bash
# kill -9 at random moments of a Send that replaces six older copies of 1-5
# MB, and (every fifth round) just as the settings save at its end begins.
# After each kill every copy is the whole old or the whole new file and the
# settings file is whole; after one more complete run nothing but the
# expected files is left anywhere.
. "$(dirname "$0")/lib.sh"
rel_need_tools sha256sum
rel_world
ROUNDS=${REL_KILL_ROUNDS:-50}
SEED=${REL_SEED:-$$}
RANDOM=$SEED
P=$REL_W/work/P OLD=$REL_W/pool/P
for i in 1 2 3 4 5 6; do
  mkdir -p "$P/part$((i % 2))" "$OLD/part$((i % 2))"
  rel_random_file "$P/part$((i % 2))/file$i.bin" $((i * 800000 + 200000))
  rel_random_file "$OLD/part$((i % 2))/file$i.bin" $((i * 700000 + 300000))
done
touch -d '-1 hour' "$P"/*/*
# Older by more than an hour: copies an hour apart may be one version
# shifted by daylight saving, and are left alone.
touch -d '-3 hours' "$OLD"/*/*
# A Duration of 500 comes back as 365 from the number field: every run has
# a change of its own to save, so every run ends with a save to kill.
rel_settings "$P|E:\\Sync|500|0"
cp "$REL_INI" "$REL_W/pool/ini.orig"
mkdir -p "$REL_STICK/Sync"
(rel_sums "$OLD" && rel_sums "$P") | sort -u >"$REL_W/pool/either.sums"
source=$(rel_snapshot "$P")
outside=$(rel_snapshot "$REL_W" work stick log home/.config home/.local pool)

restore() {
  rm -rf "$REL_STICK/Sync/P" && cp -a "$OLD" "$REL_STICK/Sync/P"
  cp "$REL_W/pool/ini.orig" "$REL_INI"
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The quickest of three complete runs gives the span the kills are spread over and the
# settings file as a complete save writes it.
span=999999
for _ in 1 2 3; do
  restore
  start=$(now_ms)
  rel_start send P
  rel_wait
  elapsed=$(($(now_ms) - start))
  ((elapsed < span)) && span=$elapsed
done
rel_expect_rc "a complete send" 0
cp "$REL_INI" "$REL_W/pool/ini.saved"

CONFIG=$REL_W/home/.config
touch -d '-30 seconds' "$OLD"
entries=("$CONFIG"/.* "$CONFIG"/*)
CONFIG_AT_REST=${entries[*]}
torn=0 torn_ini=0 debris_killed=0 debris_rounds=0 beside_ini=0 finished_first=0 incomplete=0
for ((round = 1; round <= ROUNDS; round++)); do
  restore
  delay=$((RANDOM % (span * 11 / 10 + 1)))
  touch -d '-1 minute' "$REL_INI"
  rel_start send P
  if ((round % 5 == 0)); then
    # A save round: killed as soon as the settings folder starts to change.
    delay=save
    while entries=("$CONFIG"/.* "$CONFIG"/*); [[ ! $REL_INI -nt $OLD ]] &&
      [[ "${entries[*]}" == "$CONFIG_AT_REST" ]] && kill -0 "$REL_PID" 2>/dev/null; do
      sleep 0.002 # a look every few milliseconds, not a core burnt beside the run
    done
  else
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  fi
  kill -0 "$REL_PID" 2>/dev/null || finished_first=$((finished_first + 1))
  kill -9 "$REL_PID" 2>/dev/null
  rel_wait 2>/dev/null # also looks for a sanitizer report in what the run wrote
  # Each of the six must be there, old or new, whole; anything else is debris.
  bad=$(rel_sums "$REL_STICK/Sync/P" | sed 's/^\\//' |
    awk 'NR == FNR { ok[$0] = 1; name[substr($0, 67)] = 1; next }
         { p = substr($0, 67); seen[p] = 1
           if (!(p in name)) debris++; else if (!($0 in ok)) torn++ }
         END { for (p in name) if (!(p in seen)) torn++; print torn + 0, debris + 0 }' \
      "$REL_W/pool/either.sums" -)
  read -r t d <<<"$bad"
  ((t > 0)) && rel_fail "round $round (kill at ${delay} ms): $t copies neither old nor new"
  torn=$((torn + t)) debris_killed=$((debris_killed + d))
  if ! cmp -s "$REL_INI" "$REL_W/pool/ini.orig" && ! cmp -s "$REL_INI" "$REL_W/pool/ini.saved"; then
    torn_ini=$((torn_ini + 1))
    rel_fail "round $round (kill at ${delay} ms): the settings file is neither old nor new"
  fi
  # One more complete run: every copy new, no debris anywhere.
  rel_run send P
  ((REL_RC == 0)) || incomplete=$((incomplete + 1))
  rel_compare_copy "$P" "$REL_STICK/Sync/P"
  leftovers=$( (find "$REL_STICK" "$P" -type f | grep -v '/file[1-6]\.bin$'
    find "$REL_W/home/.config" -mindepth 1 ! -name Pellmar.ini ! -name Pellmar.ini.bak \
      ! -name Pellmar.ini.lock ! -name Pellmar.drives))
  extra=$(grep -c . <<<"$leftovers")
  if ((REL_WHOLE != 6 || extra > 0)); then
    debris_rounds=$((debris_rounds + 1))
    grep -q '/home/.config/' <<<"$leftovers" && beside_ini=$((beside_ini + 1))
    ((debris_rounds == 1)) && rel_fail "round $round: after a complete run $REL_WHOLE of 6" \
      "copies are new and $extra files are left over, e.g. $(head -2 <<<"$leftovers" | tr '\n' ' ')"
    # Cleared, so each round counts only its own debris.
    grep '/home/.config/' <<<"$leftovers" | xargs -r rm -f
  fi
done
((incomplete == 0)) || rel_fail "$incomplete complete runs after a kill did not exit 0"
((debris_rounds == 0)) || rel_fail "$debris_rounds of $ROUNDS complete runs left debris of the" \
  "killed run behind ($beside_ini of them beside the settings file)"
rel_same "the project" "$source" "$(rel_snapshot "$P")"
rel_same "outside the two folders" "$outside" \
  "$(rel_snapshot "$REL_W" work stick log home/.config home/.local pool)"
rel_note "$ROUNDS rounds (seed $SEED, kills spread over $((span * 11 / 10)) ms," \
  "$finished_first ran to the end first): $torn torn files, $torn_ini torn settings files," \
  "$debris_killed debris files right after the kills, debris left after $debris_rounds" \
  "complete runs"
rel_finish
