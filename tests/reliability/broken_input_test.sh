#!/bin/bash
# Broken settings files (garbage, UTF-16 with a BOM, CR-only lines, cut in
# the middle of a line, a 10 MB value), values that once led to lost files
# (a 10 MB removable folder, 35 projects, project folders written with "."
# or ".." or as a drive) and broken language files (garbage, 20 MB,
# Shift-JIS cut inside a character). The program never crashes or
# hangs, exits 0 or 1, and never saves over a broken settings file without
# leaving Pellmar.ini.bak, a byte-for-byte copy of it. UTF-16 and CR-only
# files are read whole, so their save must keep every project instead.
. "$(dirname "$0")/lib.sh"
rel_need_tools iconv
rel_world
P=$REL_W/work/P
rel_tree "$P" 3 3 100 '-1 hour'
mkdir -p "$REL_STICK/Sync"
rel_settings "$P|E:\\Sync|7|0" "$REL_W/work/Q|E:\\Sync|7|0"
cp "$REL_INI" "$REL_W/log/good.ini"
GOOD=$REL_W/log/good.ini

# The garbage comes from a seed, printed, so a failure can be run again
# with PELLMAR_SEED set to it.
seed=${PELLMAR_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
rel_note "garbage from seed $seed (PELLMAR_SEED=$seed repeats it)"
# random_bytes N: N bytes of garbage from the seed (no NUL, which awk
# cannot print everywhere; the rest of the byte range is there).
random_bytes() {
  LC_ALL=C awk -v seed="$seed" -v n="$1" \
    'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", 1 + int(rand() * 255) }'
}
# Each writes a broken settings file to stdout.
garbage() { head -n 7 "$GOOD"; random_bytes 4096; }
utf16() { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$GOOD"; }
cr_only() { tr -d '\n' <"$GOOD"; }
cut_mid_line() { # after "Path in mobile disk2=E:\"
  head -c $(($(grep -bo 'Path in mobile disk2=' "$GOOD" | cut -d: -f1) + 24)) "$GOOD"
}
huge_value() {
  head -n 6 "$GOOD" && printf 'Extensions of excluded files1='
  head -c 10000000 /dev/zero | tr '\0' z && printf '\r\n'
}

# No crash, no hang; 2 only for a usage error, which none of these is.
sane() { # WHAT
  ((REL_RC == 0 || REL_RC == 1)) && return 0
  rel_fail "$1: exit code $REL_RC (124: hung, over 128: crashed)"
  return 1
}

for maker in garbage utf16 cr_only cut_mid_line huge_value; do
  rm -f "$REL_INI.bak"
  $maker >"$REL_W/log/broken.ini"
  cp "$REL_W/log/broken.ini" "$REL_INI"
  codes=""
  for verb in list "send 1 --yes" "load 1 --yes"; do
    REL_TIMEOUT=60 rel_run $verb
    sane "settings $maker, $verb"
    codes+="$REL_RC "
    if ! cmp -s "$REL_INI" "$REL_W/log/broken.ini"; then
      if [ "$maker" = utf16 ] || [ "$maker" = cr_only ]; then
        [ "$(grep -c '^SyncItem' "$REL_INI")" = 2 ] ||
          rel_fail "settings $maker: \"$verb\" saved a file without both projects"
      else
        cmp -s "$REL_INI.bak" "$REL_W/log/broken.ini" ||
          rel_fail "settings $maker: \"$verb\" saved over the broken file without a copy in .bak"
      fi
      cp "$REL_W/log/broken.ini" "$REL_INI" # the next verb meets the broken file again
    fi
  done
  rel_note "settings $maker ($(wc -c <"$REL_W/log/broken.ini") bytes): list/send/load exit" \
    "${codes% }$([ -e "$REL_INI.bak" ] && echo ", Pellmar.ini.bak written")"
done

# Values that once turned into lost files. A 10 MB removable folder is cut
# when read: the entry is refused before anything is made on the stick.
{ head -n 2 "$GOOD" && printf 'Path in mobile disk1=E:\\'
  head -c 10000000 /dev/zero | tr '\0' '\\' | sed 's/\\/x\\/g' | head -c 10000000
  printf '\r\n' && tail -n +4 "$GOOD"; } >"$REL_INI"
stick_before=$(rel_snapshot "$REL_STICK")
started=$SECONDS
REL_TIMEOUT=60 rel_run send 1 --yes
rel_expect_rc "a 10 MB removable folder" 1
rel_expect_named "a 10 MB removable folder" "Path in mobile disk1" "more"
rel_same "a 10 MB removable folder: the stick" "$stick_before" "$(rel_snapshot "$REL_STICK")"
rel_note "a 10 MB removable folder: refused in $((SECONDS - started)) s, nothing made, exit $REL_RC"
# 35 projects: the command line says that some are past the thirtieth
# and, having changed nothing, leaves the file as it was.
entries=()
for i in $(seq 1 35); do entries+=("$REL_W/work/M$i|E:\\Sync|7|0"); done
rel_settings "${entries[@]}"
cp "$REL_INI" "$REL_W/log/35.ini"
rel_run list
rel_expect_named "35 projects" "M30" "more than 30 projects"
mkdir -p "$REL_W/work/M1" && rel_run send M1 --yes
cmp -s "$REL_INI" "$REL_W/log/35.ini" || rel_fail "35 projects: a send rewrote the settings file"
rel_note "35 projects: told, the file unchanged after list and send"
# A project folder written with "." or "..": the name is the folder's own,
# never "." or "..", so its copy is not the stick's folder of every project.
rel_settings "$P\\.|E:\\Sync|7|0" "$P\\sub\\..|E:\\Sync|7|0" "/|E:\\Sync|7|0"
for n in 1 2; do
  rel_run send $n --yes
  rel_expect_rc "project folder $n with a dot step" 0
  [ -d "$REL_STICK/Sync/P" ] || rel_fail "project folder $n with a dot step: not sent to Sync\\P"
done
rel_run send 3 --yes
rel_expect_rc "a drive as the project folder" 1
[ -z "$(ls -A "$REL_STICK/Sync" | grep -v '^P$')" ] ||
  rel_fail "a drive as the project folder: something was written beside Sync\\P"
rel_note "project folders P\\. and P\\sub\\.. sent as P; a drive root refused, exit $REL_RC"

# Language files beside a copy of the program. A good one first, to show
# that the file is read at all.
mkdir -p "$REL_W/program"
cp "$PELLMAR_BINARY" "$REL_W/program/pellmar"
REL_PROGRAM=$REL_W/program/pellmar
LNG=$REL_W/program/pellmar.lng
JA=${PELLMAR_SOURCE_DIR:-$(dirname "$0")/../..}/resources/lang/ja.lng
good_lng() { printf '[Main]\r\nMsg17=Nothing at all is new\r\n'; }
garbage_lng() { random_bytes 65536; }
huge_lng() { printf '[Main]\r\nMsg17='; head -c 20000000 /dev/zero | tr '\0' y; printf '\r\n'; }
cut_sjis_lng() { # cut after the lead byte of the first two-byte character
  local at
  at=$(grep -abo 'Label1.Caption=' "$JA" | head -1 | cut -d: -f1)
  head -c $((at + 16)) "$JA"
}
cp "$GOOD" "$REL_INI"
rel_run send P # the copies are made; later Sends find nothing new
for maker in good_lng garbage_lng huge_lng cut_sjis_lng; do
  [ "$maker" = cut_sjis_lng ] && [ ! -f "$JA" ] && { rel_note "SKIP $maker: no $JA"; continue; }
  $maker >"$LNG"
  cp "$GOOD" "$REL_INI"
  REL_TIMEOUT=60 rel_run send P
  send_rc=$REL_RC
  sane "language $maker" && ((REL_RC != 0)) &&
    rel_fail "language $maker: exit $REL_RC for a Send with nothing new"
  [ "$maker" = good_lng ] && rel_expect_named "the language file is read" "Nothing at all is new"
  REL_TIMEOUT=60 rel_run list
  sane "language $maker, list"
  rel_note "language $maker ($(wc -c <"$LNG") bytes): send and list exit $send_rc/$REL_RC"
done
rel_finish
