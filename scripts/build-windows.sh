#!/usr/bin/env bash
# Cross-builds Pellmar for Windows in build-windows/ with mingw-w64:
# build-windows/pellmar.exe and the test programs. Installs what is missing
# first (the compiler, and Wine, which runs the tests). Arguments go to the
# build tool, e.g. `scripts/build-windows.sh pellmar` for the program only.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-windows"

bash "$root/scripts/install-packages.sh" mingw-w64 wine64 wine cmake ninja-build googletest
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
# pipefail fails the pipeline with the build; grep's "nothing left to print"
# (exit 1 on a quiet build) must not.
cmake --build "$build" -- -j"$(nproc)" "$@" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
echo "build-windows: $build/pellmar.exe"
