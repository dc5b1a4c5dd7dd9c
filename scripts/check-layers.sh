#!/usr/bin/env bash
# Checks that dependencies point one way: app -> ui/qt -> ui -> core ->
# platform, that no layer includes one above it, and that OS and Qt headers
# stay where they belong (OS headers in src/platform/<os>/, src/app/<os>/,
# src/app/main.cc and the one public door to the Win32 headers,
# src/platform/windows_api.h, only; Qt headers in src/ui/qt/ and src/app/gui.cc
# only). A skin includes neither the other skin nor a platform twin's own
# headers: it reaches the platform through its public headers.
# Prints every breach and fails when there is one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"
breaches=0

# forbid FILES_GLOB PATTERN WHY: every include line of those files matching
# the extended regular expression PATTERN is a breach.
forbid() {
  local files=$1 pattern=$2 why=$3 hits
  # shellcheck disable=SC2086  # the glob is meant to expand
  hits=$(grep -nE "^#include $pattern" $files 2>/dev/null || true)
  if [ -n "$hits" ]; then
    echo "$why:"
    echo "$hits" | sed 's/^/  /'
    breaches=$((breaches + $(echo "$hits" | wc -l)))
  fi
}

forbid "platform/*.h platform/*.cc" '"(core|ui|app)/' "platform includes a layer above it"
forbid "core/*.h core/*.cc" '"(ui|app)/' "core includes a layer above it"
forbid "ui/*.h ui/*.cc" '"(ui/qt|ui/win32|app)/' "ui includes a layer above it"
forbid "ui/qt/*.h ui/qt/*.cc" '"app/' "the skin includes the program entry"
forbid "ui/win32/*.h ui/win32/*.cc" '"(ui/qt|app)/' "the Win32 skin includes the Qt skin or the program entry"
forbid "ui/qt/*.h ui/qt/*.cc" '"ui/win32/' "the Qt skin includes the Win32 skin"
forbid "ui/*/*.h ui/*/*.cc" '"platform/(posix|win32)/' "a skin includes a platform twin's own headers"
# C-style headers (<unistd.h>, <sys/stat.h>, <windows.h>...) are the OS's.
os_free="$(ls platform/*.h platform/*.cc | grep -v '^platform/windows_api.h$' | tr '\n' ' ')"
os_free+=" core/*.h core/*.cc ui/*.h ui/*.cc ui/qt/*.h ui/qt/*.cc"
os_free+=" $(ls app/*.cc app/*.h | grep -v '^app/main.cc$' | tr '\n' ' ')"
forbid "$os_free" '<[a-z_/0-9]+\.h>' "an OS header outside src/platform/<os>/ and src/app/main.cc"
qt_free="platform/*.h platform/*.cc core/*.h core/*.cc ui/*.h ui/*.cc ui/win32/*.h ui/win32/*.cc"
qt_free+=" $(ls app/*.cc app/*.h | grep -v '^app/gui.cc$' | tr '\n' ' ')"
forbid "$qt_free" '<Q' "a Qt header outside src/ui/qt/ and src/app/gui.cc"

if [ "$breaches" -gt 0 ]; then
  echo "check-layers: $breaches breach(es)"
  exit 1
fi
echo "check-layers: every layer includes only the layers below it"
