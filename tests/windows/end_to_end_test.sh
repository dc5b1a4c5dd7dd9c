#!/usr/bin/env bash
# pellmar.exe under Wine, end to end: list, send and load of a project with
# Japanese file and folder names, between Documents and a removable folder
# behind the drive letter P: (a link in the prefix's dosdevices, made by
# scripts/test-windows.sh before Wine's server started). Exit 0 passes.
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
rm -rf "${stick:?}"/* "$documents/プロジェクト" "$settings"
mkdir -p "$documents/プロジェクト/資料"
printf 'メモの中身' >"$documents/プロジェクト/資料/メモ.txt"
printf 'report' >"$documents/プロジェクト/報告.txt"
touch -d '2 days ago' "$documents/プロジェクト/資料/メモ.txt" "$documents/プロジェクト/報告.txt"
printf '[Setting]\r\nSyncItem1=C:\\users\\%s\\Documents\\プロジェクト\r\nPath in mobile disk1=P:\\同期\r\nUseZip1=0\r\nAutoDelete1=0\r\n' \
  "$user" >"$settings"

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

# Changed and new on the stick: Load brings both back, and nothing else.
printf '新しい中身' >"$stick/同期/プロジェクト/資料/メモ.txt"
printf 'new' >"$stick/同期/プロジェクト/新規.txt"
expect 0 "Copied: 2, failed: 0" -- load プロジェクト
[ "$(cat "$documents/プロジェクト/資料/メモ.txt")" = "新しい中身" ] || fail "load did not bring メモ.txt back"
[ -f "$documents/プロジェクト/新規.txt" ] || fail "load did not bring 新規.txt"
grep -q "SyncItem1=C:\\\\users\\\\$user\\\\Documents\\\\プロジェクト" "$settings" || fail "the save lost the entry"
[ -z "$(find "$stick" "$documents/プロジェクト" -name '.pellmar-*')" ] || fail "temporary files left behind"

if [ "$failures" -gt 0 ]; then
  echo "end to end: $failures failure(s)"
  exit 1
fi
echo "end to end: list, send and load with Japanese names passed"
