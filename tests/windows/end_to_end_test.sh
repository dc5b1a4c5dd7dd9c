#!/usr/bin/env bash
# pellmar.exe under Wine, end to end: list, send and load of a project with
# Japanese file and folder names, between Documents and a removable folder
# behind the drive letter P: (a link in the prefix's dosdevices, made by
# scripts/test-windows.sh before Wine's server started); user files named
# like scratch files, names that differ only in case, an hour-shifted copy
# with other content, and a link on the stick. Exit 0 passes.
set -euo pipefail
build=${PELLMAR_BUILD_DIR:?}
exe=${PELLMAR_BINARY:?}
export WINEPREFIX="$build/wine" HOME="$build/wine-home" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
stick="$build/wine-drive-p"
user=$(id -un)
settings="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Pellmar.ini"
documents="$HOME"  # Wine links the user's Documents here
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# expect CODE TEXT -- ARGS: runs pellmar.exe ARGS, checks its exit code and
# that its output holds TEXT.
expect() {
  local code=$1 text=$2 out rc=0
  shift 3
  out=$(wine "$exe" "$@" </dev/null 2>&1) || rc=$?
  [ "$rc" -eq "$code" ] || fail "pellmar $* exited $rc, not $code: $out"
  [[ "$out" == *"$text"* ]] || fail "pellmar $* did not say \"$text\": $out"
}

[ -L "$WINEPREFIX/dosdevices/p:" ] || { echo "no drive P: (run scripts/test-windows.sh)"; exit 1; }
trash="$HOME/.local/share/Trash/files"  # where Wine's Recycle Bin puts files
outside="$build/wine-outside"
rm -rf "${stick:?}"/* "$documents/プロジェクト" "$settings" "$trash" "$outside"
rm -rf "$documents/lookalike" "$documents/twins" "$documents/shift" "$documents/linked"
mkdir -p "$documents/プロジェクト/資料"
printf 'メモの中身' >"$documents/プロジェクト/資料/メモ.txt"
printf 'report' >"$documents/プロジェクト/報告.txt"
touch -d '2 days ago' "$documents/プロジェクト/資料/メモ.txt" "$documents/プロジェクト/報告.txt"
# entry N FOLDER AUTODELETE: the settings lines of one project kept in P:\同期.
entry() {
  printf 'SyncItem%s=C:\\users\\%s\\Documents\\%s\r\nPath in mobile disk%s=P:\\同期\r\nUseZip%s=0\r\nAutoDelete%s=%s\r\n' \
    "$1" "$user" "$2" "$1" "$1" "$1" "$3"
}
{
  printf '[Setting]\r\n'
  entry 1 プロジェクト 0
  entry 2 lookalike 0
  entry 3 twins 0
  entry 4 shift 1
  entry 5 linked 1
} >"$settings"

expect 0 "Pellmar 1.1" -- --version
expect 2 "unknown verb" -- frobnicate
expect 0 "P:  P:\\" -- drives
expect 0 "AppData/Roaming/Pellmar.ini" -- drives
expect 0 $'プロジェクト\tプロジェクト' -- list
expect 0 "P:\\同期" -- list
expect 1 "no entry" -- send 無い
expect 0 "Copied: 2, failed: 0" -- send プロジェクト --yes
[ "$(cat "$stick/同期/プロジェクト/資料/メモ.txt" 2>/dev/null)" = "メモの中身" ] || fail "send did not copy メモ.txt"
[ "$(stat -c %Y "$stick/同期/プロジェクト/報告.txt" 2>/dev/null)" = "$(stat -c %Y "$documents/プロジェクト/報告.txt")" ] ||
  fail "send did not keep the last-write time"
expect 0 "Copied: 0" -- send プロジェクト
# Wine's drives are folders of the host, with no device to eject: said so,
# and the exit code says the eject was not done.
expect 1 "P: was not ejected" -- send プロジェクト --eject
# A removable disk has no Recycle Bin: the version a Send replaces there is
# deleted, as it always was, and not counted as kept.
expect 0 "removable" -- drives
printf 'report, revised' >"$documents/プロジェクト/報告.txt"
touch -d '1 day ago' "$documents/プロジェクト/報告.txt"
expect 0 "Copied: 1, failed: 0, refused for space: 0, left alone: 0, kept in the trash: 0" -- send プロジェクト
[ "$(cat "$stick/同期/プロジェクト/報告.txt" 2>/dev/null)" = "report, revised" ] || fail "send did not replace 報告.txt"
[ ! -e "$trash/報告.txt" ] || fail "a version replaced on the removable disk went to a trash"

# Changed and new on the stick: Load brings both back, and nothing else.
printf '新しい中身' >"$stick/同期/プロジェクト/資料/メモ.txt"
printf 'new' >"$stick/同期/プロジェクト/新規.txt"
expect 0 "Copied: 2, failed: 0" -- load プロジェクト
[ "$(cat "$documents/プロジェクト/資料/メモ.txt")" = "新しい中身" ] || fail "load did not bring メモ.txt back"
[ -f "$documents/プロジェクト/新規.txt" ] || fail "load did not bring 新規.txt"
grep -q "SyncItem1=C:\\\\users\\\\$user\\\\Documents\\\\プロジェクト" "$settings" || fail "the save lost the entry"

# Files that merely look like the program's own are data, both ways.
mkdir -p "$documents/lookalike/sub"
printf 'ignore me not' >"$documents/lookalike/.pellmar-ignore"
printf 'a backup' >"$documents/lookalike/sub/.pellmar-backup.tmp"
touch -d '1 day ago' "$documents/lookalike/.pellmar-ignore" "$documents/lookalike/sub/.pellmar-backup.tmp"
expect 0 "Copied: 2, failed: 0" -- send lookalike --yes
[ "$(cat "$stick/同期/lookalike/.pellmar-ignore" 2>/dev/null)" = "ignore me not" ] || fail "send hid .pellmar-ignore"
[ "$(cat "$stick/同期/lookalike/sub/.pellmar-backup.tmp" 2>/dev/null)" = "a backup" ] ||
  fail "send hid sub/.pellmar-backup.tmp"
printf 'edited' >"$stick/同期/lookalike/.pellmar-ignore"
printf 'edited too' >"$stick/同期/lookalike/sub/.pellmar-backup.tmp"
expect 0 "Copied: 2, failed: 0" -- load lookalike
[ "$(cat "$documents/lookalike/.pellmar-ignore")" = "edited" ] || fail "load did not bring .pellmar-ignore back"
[ "$(cat "$documents/lookalike/sub/.pellmar-backup.tmp")" = "edited too" ] ||
  fail "load did not bring sub/.pellmar-backup.tmp back"

# Two names that Windows takes for one: neither is copied, both are named.
mkdir -p "$documents/twins"
printf 'lower' >"$documents/twins/a.txt"
printf 'UPPER' >"$documents/twins/A.TXT"
out=$(wine "$exe" send twins --yes </dev/null 2>&1) && rc=0 || rc=$?
[ "$rc" -eq 1 ] || fail "send twins exited $rc, not 1: $out"
[[ "$out" == *"a.txt"* && "$out" == *"A.TXT"* && "$out" == *"Copied: 0"* ]] || fail "send twins: $out"
[ -z "$(ls -A "$stick/同期/twins" 2>/dev/null)" ] || fail "send twins copied: $(ls -A "$stick/同期/twins")"

# A stick copy an hour off its twin, of the same size but other content, is
# the newer version: Load brings it home and auto-delete keeps it; the
# version it replaced goes to the Recycle Bin, which Wine keeps in the
# desktop's trash.
mkdir -p "$documents/shift" "$stick/同期/shift"
printf 'home' >"$documents/shift/h.txt"
printf 'away' >"$stick/同期/shift/h.txt"
touch -d '40 days ago' "$documents/shift/h.txt"
touch -d "@$(($(stat -c %Y "$documents/shift/h.txt") + 3600))" "$stick/同期/shift/h.txt"
expect 0 "Copied: 1, failed: 0" -- load shift
[ "$(cat "$documents/shift/h.txt")" = "away" ] || fail "load did not bring the hour-shifted h.txt"
[ "$(cat "$stick/同期/shift/h.txt" 2>/dev/null)" = "away" ] || fail "auto-delete took the hour-shifted h.txt"
# Wine marks a name the trash has a record of already (an earlier run's).
in_trash=""
for kept in "$trash"/h.txt*; do [ "$(cat "$kept" 2>/dev/null)" = "home" ] && in_trash=yes; done
[ -n "$in_trash" ] || fail "the replaced h.txt is not in the trash by its name"

# A link on the stick to a folder elsewhere is named, never walked, and
# auto-delete never reaches through it.
mkdir -p "$outside" "$stick/同期/linked" "$documents/linked"
printf 'old' >"$outside/old.txt"
touch -d '40 days ago' "$outside/old.txt"
ln -s "$outside" "$stick/同期/linked/outside"
expect 1 "outside" -- load linked
[ -f "$outside/old.txt" ] || fail "auto-delete reached through the link"
[ ! -e "$documents/linked/outside" ] || fail "load walked the link"

[ -z "$(find "$stick" "$documents" -path "$documents/.local" -prune -o -name '.~pellmar-*' -print)" ] ||
  fail "scratch files left behind"

if [ "$failures" -gt 0 ]; then
  echo "end to end: $failures failure(s)"
  exit 1
fi
echo "end to end: list, send and load with Japanese names passed"
