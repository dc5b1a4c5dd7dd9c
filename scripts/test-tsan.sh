#!/usr/bin/env bash
# Builds everything with ThreadSanitizer in build-tsan/ and runs the tests
# there, the reliability scripts' runs of the built program included; all
# but those labelled `slow` (they move gigabytes in the kernel, where the
# sanitizer sees nothing; the plain build runs them). Arguments go to ctest.
# The first data race or lock-order inversion ends the program that hit it,
# so the test fails; tests/tsan.supp lists what comes from inside libraries
# built without ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-tsan"

bash "$root/scripts/install-packages.sh" g++ cmake ninja-build pkg-config libsystemd-dev qt6-base-dev \
  libgtest-dev libgmock-dev fonts-liberation fonts-ipafont-gothic xdg-utils exfatprogs exfat-fuse \
  libqt6svg6 qt6-translations-l10n
bash "$root/scripts/build-dir.sh" "$build" -DPELLMAR_TSAN=ON
export QT_QPA_PLATFORM=offscreen
# The plain build runs the race rounds in full; two show the same here,
# where the instrumentation slows every call.
export REL_RACE_ROUNDS=${REL_RACE_ROUNDS:-2}
# The tests hand these on to the built program they run (in an environment
# otherwise their own), so a race there fails the test too.
# A second Ctrl+C ends the program at once (_exit from the signal handler),
# by design, while the listing's helper thread still lives: a thread left
# unjoined then is no race, so only races and lock faults are reported.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 report_thread_leaks=0 suppressions=$root/tests/tsan.supp"
cd "$build"
ctest --output-on-failure -j"$(nproc)" -LE slow "$@"
