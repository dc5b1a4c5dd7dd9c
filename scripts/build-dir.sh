#!/usr/bin/env bash
# Configures (once) and builds one build folder: build-dir.sh FOLDER
# [CMAKE_ARGS...]. Ninja's progress lines are left out; a failed configure
# or build fails the script with the compiler's messages shown.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1
shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
# pipefail makes the pipeline fail with the build; the braces keep grep's
# "nothing left to print" (exit 1 on a quiet build) from counting as a failure.
cmake --build "$build" -- -j"$(nproc)" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
