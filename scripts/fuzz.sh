#!/usr/bin/env bash
# Builds the fuzzers (fuzz/*_fuzz.cc) with clang in build-fuzz/ and runs
# each for a short time on a copy of its seed corpus (fuzz/corpus/NAME/), so
# the repository's corpus does not grow. Fails when a fuzzer crashes, leaks,
# hits undefined behaviour or times out; the input that did it is kept in
# build-fuzz/artifacts/ and shown in hex.
#   PELLMAR_FUZZ_SECONDS  time per fuzzer (default 30)
#   arguments             fuzzer names to run (default: all), e.g. language
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
seconds=${PELLMAR_FUZZ_SECONDS:-30}

bash "$root/scripts/install-packages.sh" clang-14 libclang-rt-14-dev cmake ninja-build pkg-config \
  libsystemd-dev
CC=clang-14 CXX=clang++-14 bash "$root/scripts/build-dir.sh" "$build" -DPELLMAR_FUZZ=ON

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cc; do names+=("$(basename "$source" _fuzz.cc)"); done
fi
work=$(mktemp -d /tmp/pellmar-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/artifacts"
passed=0 failed=0
for name in "${names[@]}"; do
  mkdir -p "$work/$name"
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$work/$name/"
  log="$build/artifacts/$name.log"
  if "$build/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" "$work/$name" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "fuzz $name: no crash in $seconds s ($runs inputs)"
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "fuzz $name: FAILED; the last lines of $log:"
    tail -n 40 "$log"
    for artifact in "$build/artifacts/$name"-*; do
      [ -f "$artifact" ] || continue
      echo "input $artifact:"
      od -A d -c "$artifact" | head -n 20
    done
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
