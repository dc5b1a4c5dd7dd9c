#!/usr/bin/env bash
# Builds the Windows tree (scripts/build-windows.sh) and runs its tests under
# Wine on a display of its own (Xvfb): the core, ui and platform tests, the
# native window's binding and the end-to-end test of pellmar.exe; then it
# takes a picture of the window, build-windows/windows-window.png (the
# README's copy in docs/ is refreshed from it by
# scripts/refresh-windows-picture.sh, never here: a test run leaves the
# checkout as it found it). Wine's
# prefix and the HOME it links the user's folders to are inside
# build-windows/, never the tester's own. Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-windows"

bash "$root/scripts/build-windows.sh" --tests
# Wine takes its ANSI code page from the locale: ja_JP gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  bash "$root/scripts/install-packages.sh" locales
  sudo=""
  [ "$(id -u)" -eq 0 ] || ! command -v sudo >/dev/null || sudo=sudo
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# The window tests need a display, and Wine's programs take theirs from the
# desktop its server starts with: Xvfb comes first.
command -v Xvfb >/dev/null || bash "$root/scripts/install-packages.sh" xvfb
command -v import >/dev/null || bash "$root/scripts/install-packages.sh" imagemagick
command -v xwininfo >/dev/null || bash "$root/scripts/install-packages.sh" x11-utils
# The Japanese face the design's own is mapped onto for one run.
bash "$root/scripts/install-packages.sh" fonts-ipafont-gothic
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"

export WINEPREFIX="$build/wine" HOME="$build/wine-home" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
# The end-to-end test's drive P:. A letter only works when it is there before
# Wine's server starts. Wine takes it for a removable disk, as a stick is,
# when its drive type says so; without it every drive is a fixed one.
mkdir -p "$build/wine-drive-p"
ln -sfn "$build/wine-drive-p" "$WINEPREFIX/dosdevices/p:"
if ! grep -q '^"p:"="floppy"' "$WINEPREFIX/system.reg"; then
  wine reg add 'HKLM\Software\Wine\Drives' /v p: /d floppy /f </dev/null >/dev/null 2>&1
fi
# A test program that crashes prints where and ends, rather than waiting
# under a crash box on a screen nobody sees until CTest's time runs out.
if ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
fi

# Wine's services keep the output of whatever starts them: started here with
# their output in /dev/null, CTest's pipe is not held open after its tests.
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

cd "$build"
# `slow` moves gigabytes, which the plain Linux run already proves.
ctest --output-on-failure -j"$(nproc)" -LE slow "$@"
# The native window's tests three runs more at twice the cores, so one
# that depends on timing fails here rather than on a busy machine later.
if [ $# -eq 0 ]; then
  ctest --output-on-failure -L '^window_tests$' --repeat until-fail:3 -j$((2 * $(nproc)))
fi

# The fonts and the captions again as on a Japanese Windows: its code page,
# and the design's Japanese face there, mapped onto an installed one for
# this run only (a program reads the prefix's font replacements when it
# starts).
if [ $# -eq 0 ]; then
  replacements='HKCU\Software\Wine\Fonts\Replacements'
  LANG=C.UTF-8 wine reg add "$replacements" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f </dev/null >/dev/null 2>&1
  status=0
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 PELLMAR_DESIGN_FACE_MAPPED=1 \
    ctest --output-on-failure -R 'DesignFace|CaptionFits' || status=$?
  LANG=C.UTF-8 wine reg delete "$replacements" /v 'ＭＳ Ｐゴシック' /f </dev/null >/dev/null 2>&1
  [ "$status" -eq 0 ] || exit "$status"
fi

# A picture of the window: pellmarw.exe with two projects.
user=$(id -un)
mkdir -p "$HOME/Thesis" "$HOME/Budget 2026"
printf '[Setting]\r\nSyncItem1=C:\\users\\%s\\Documents\\Thesis\r\nPath in mobile disk1=P:\\Sync\r\nSyncItem2=C:\\users\\%s\\Documents\\Budget 2026\r\nPath in mobile disk2=P:\\Sync\r\n' \
  "$user" "$user" >"$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Pellmar.ini"
LANG=C.UTF-8 wine "$build/pellmarw.exe" </dev/null >/dev/null 2>&1 &
window_pid=$!
# window_geometry: WxH+X+Y of the main window once it is on screen, else empty.
window_geometry() {
  xwininfo -name "Pellmar ver. 1.1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF}
    /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
    /Map State: IsViewable/ {shown=1} END {if (shown) print w "x" h "+" x "+" y}' || true
}
for _ in $(seq 100); do
  [ -n "$(window_geometry)" ] && break
  sleep 0.1
done
sleep 1  # the first paint
geometry=$(window_geometry)
picture="$build/windows-window.png"
[ -n "$geometry" ] && import -window root -crop "$geometry" +repage -strip "$picture"
kill "$window_pid" 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
[ -n "$geometry" ] || { echo "test-windows: pellmarw.exe showed no window"; exit 1; }
echo "test-windows: $picture"
