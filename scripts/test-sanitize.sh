#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan in build-asan/ and runs
# the tests there, all but those labelled `slow` (they move gigabytes in the
# kernel, where the sanitizers see nothing; the plain build runs them).
# Arguments go to ctest. A leak, a memory error or undefined behaviour fails
# the test that hit it; tests/lsan.supp lists the leaks that are not ours.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-asan"

bash "$root/scripts/install-build-packages.sh"
bash "$root/scripts/build-dir.sh" "$build" -DPELLMAR_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
# The plain build runs the race rounds in full; two show the same here,
# where the instrumentation slows every call.
export REL_RACE_ROUNDS=${REL_RACE_ROUNDS:-2}
# Undefined behaviour already ends the program; the stack says who did it.
export UBSAN_OPTIONS=print_stacktrace=1
cd "$build"
ctest --output-on-failure -j"$(nproc)" -LE slow "$@"
