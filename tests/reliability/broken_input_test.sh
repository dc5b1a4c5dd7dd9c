#!/bin/bash
# Broken settings files (garbage, UTF-16 with a BOM, CR-only lines, cut in
# the middle of a line, a 10 MB value) and broken language files (garbage,
# 20 MB, Shift-JIS cut inside a character). The program never crashes or
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

# Each writes a broken settings file to stdout.
garbage() { head -n 7 "$GOOD"; head -c 4096 /dev/urandom; }
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

# Language files beside a copy of the program. A good one first, to show
# that the file is read at all.
mkdir -p "$REL_W/program"
cp "$PELLMAR_BINARY" "$REL_W/program/pellmar"
REL_PROGRAM=$REL_W/program/pellmar
LNG=$REL_W/program/pellmar.lng
JA=${PELLMAR_SOURCE_DIR:-$(dirname "$0")/../..}/resources/lang/ja.lng
good_lng() { printf '[Main]\r\nMsg17=Nothing at all is new\r\n'; }
garbage_lng() { head -c 65536 /dev/urandom; }
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
