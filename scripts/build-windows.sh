#!/usr/bin/env bash
# Cross-builds Pellmar for Windows in build-windows/ with mingw-w64:
# build-windows/pellmar.exe, its window twin pellmarw.exe and the download,
# build-windows/pellmar-1.1-windows-x64.zip, first; then, only when asked
# with --tests (scripts/test-windows.sh does), the test programs. Installs
# what is missing first (the compiler, Wine, which runs the tests, and zip).
# Other arguments go to the build tool, e.g. `scripts/build-windows.sh
# pellmar` for the program only (and no zip).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-windows"
tests=false
if [ "${1:-}" = --tests ]; then
  tests=true
  shift
fi

bash "$root/scripts/install-packages.sh" mingw-w64 wine64 wine cmake ninja-build googletest zip
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
# build TARGETS...: pipefail fails the pipeline with the build; grep's
# "nothing left to print" (exit 1 on a quiet build) must not.
build() {
  cmake --build "$build" -- -j"$(nproc)" "$@" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
}
if [ $# -gt 0 ]; then
  build "$@"
  exit 0
fi
# The programs come first: whoever wants the download has it in minutes,
# without the test programs, which take far longer.
build pellmar pellmarw
echo "build-windows: $build/pellmar.exe"

# The download: the two programs without their debugging data, the help
# page, the language file and a short README, in one folder.
name=pellmar-1.1
stage="$build/zip/$name"
rm -rf "$build/zip" "$build/$name-windows-x64.zip"
mkdir -p "$stage/lang"
for program in pellmar pellmarw; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/$program.exe"
done
cp "$root/resources/Help.htm" "$stage/"
cp "$root/resources/lang/ja.lng" "$stage/lang/"
sed 's/$/\r/' "$root/resources/windows/README.txt" >"$stage/README.txt"
(cd "$build/zip" && zip -q -X -r "$build/$name-windows-x64.zip" "$name")
echo "build-windows: $build/$name-windows-x64.zip"

if $tests; then
  build
  echo "build-windows: the test programs"
fi
