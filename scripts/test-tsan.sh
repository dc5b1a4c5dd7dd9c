#!/usr/bin/env bash
# Builds the platform and core tests with ThreadSanitizer in build-tsan/
# and runs them: they are what drives the listing's helper thread
# (parallel_each, the folder listing) and the walk that uses it. The rest
# of the program runs on one thread, and building the window and the
# reliability runs under the sanitizer cost most of this phase for no
# race it could find. Those labelled `slow` are left out too (they move
# gigabytes in the kernel, where the sanitizer sees nothing; the plain
# build runs them). Arguments go to ctest.
# The first data race or lock-order inversion ends the program that hit it,
# so the test fails; tests/tsan.supp lists what comes from inside libraries
# built without ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-tsan"

bash "$root/scripts/install-build-packages.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLMAR_TSAN=ON >/dev/null
fi
cmake --build "$build" --target platform_tests core_tests -- -j"$(nproc)" |
  { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
export QT_QPA_PLATFORM=offscreen
# A thread left unjoined when a program ends is no race, so only races and
# lock faults are reported.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 report_thread_leaks=0 suppressions=$root/tests/tsan.supp"
cd "$build"
# The test programs not built here are listed as *_NOT_BUILT; the scripts
# (labelled reliability) need the program, which is not built either.
ctest --output-on-failure -j"$(nproc)" -LE 'slow|reliability' -E '_NOT_BUILT$' "$@"
