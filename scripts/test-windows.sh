#!/usr/bin/env bash
# Builds the Windows tree (scripts/build-windows.sh) and runs its tests under
# Wine: the core, ui and platform tests and the end-to-end test of
# pellmar.exe. Wine's prefix and the HOME it links the user's folders to are
# inside build-windows/, never the tester's own. Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-windows"

bash "$root/scripts/build-windows.sh"
# Wine takes its ANSI code page from the locale: ja_JP gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  bash "$root/scripts/install-packages.sh" locales
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

export WINEPREFIX="$build/wine" HOME="$build/wine-home" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
# The end-to-end test's drive P:. A letter only works when it is there before
# Wine's server starts.
mkdir -p "$build/wine-drive-p"
ln -sfn "$build/wine-drive-p" "$WINEPREFIX/dosdevices/p:"

# Wine's services keep the output of whatever starts them: started here with
# their output in /dev/null, CTest's pipe is not held open after its tests.
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

cd "$build"
# `slow` moves gigabytes, which the plain Linux run already proves.
ctest --output-on-failure -j"$(nproc)" -LE slow "$@"
