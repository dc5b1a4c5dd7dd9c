#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display needed),
# in timed phases:
#   0. the layering and formatting checks;
#   1. the plain build (build/) and all its tests, then the window tests
#      three runs more at twice the cores, so one that hangs on timing
#      fails here rather than on a busy machine later;
#   2. a short run of every fuzzer (scripts/fuzz.sh, build-fuzz/);
#   3. the tests again under AddressSanitizer and UBSan
#      (scripts/test-sanitize.sh, build-asan/);
#   4. the tests again under ThreadSanitizer (scripts/test-tsan.sh,
#      build-tsan/);
#   5. the Windows build and its tests under Wine (scripts/test-windows.sh,
#      build-windows/).
# Arguments go to the first phase's ctest and skip the others, for a
# quick filtered run: scripts/test.sh -R SyncTest
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
timings=""

# Every test and tool below makes its scratch folders in TMPDIR: one that
# is not a writable folder would fail them all, each in its own way.
if [ -n "${TMPDIR:-}" ] && ! { [ -d "$TMPDIR" ] && [ -w "$TMPDIR" ]; }; then
  echo "test: TMPDIR=$TMPDIR is not a writable folder; using /tmp instead"
  export TMPDIR=/tmp
fi

# Runs one phase and notes its time; a failed phase ends the run.
timed() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  if ! "$@"; then
    echo "== $name FAILED after $((SECONDS - start)) s"
    exit 1
  fi
  timings+="${timings:+, }$name $((SECONDS - start)) s"
  echo "== $name: $((SECONDS - start)) s"
}

# Called where a failure is handled, so each step checks its own result.
plain_tests() {
  bash "$root/scripts/setup.sh" &&
    (cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
}
window_tests_repeated() {
  (cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -L '^qt_tests$' \
    --repeat until-fail:3 -j$((2 * $(nproc))))
}

# The checks come before the build, so they install their own tool.
checks() {
  bash "$root/scripts/install-packages.sh" clang-format &&
    bash "$root/scripts/check-layers.sh" && bash "$root/scripts/check-format.sh"
}

timed "layering and formatting" checks
timed "build and tests" plain_tests "$@"
if [ $# -eq 0 ]; then
  timed "window tests, three runs at twice the cores" window_tests_repeated
  timed "fuzzers" bash "$root/scripts/fuzz.sh"
  timed "sanitizer build and tests" bash "$root/scripts/test-sanitize.sh"
  timed "ThreadSanitizer build and tests" bash "$root/scripts/test-tsan.sh"
  timed "Windows build and tests under Wine" bash "$root/scripts/test-windows.sh"
fi
echo "== timings: $timings"
