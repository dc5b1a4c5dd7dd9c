#!/usr/bin/env bash
# Fails when a source file under src/, tests/ or fuzz/ is not formatted as
# .clang-format says; prints the files that are not.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-packages.sh clang-format
mapfile -t files < <(git ls-files 'src/*.cc' 'src/*.h' 'tests/*.cc' 'tests/*.h' 'fuzz/*.cc' 2>/dev/null ||
  find src tests fuzz -name '*.cc' -o -name '*.h')
if ! clang-format --dry-run -Werror "${files[@]}" 2>/tmp/pellmar-format.$$; then
  grep -oE '^[^ :]+\.(cc|h):[0-9]+:[0-9]+: error' /tmp/pellmar-format.$$ | cut -d: -f1 | sort -u | sed 's/^/  not formatted: /'
  rm -f /tmp/pellmar-format.$$
  echo "check-format: run clang-format -i on the files above"
  exit 1
fi
rm -f /tmp/pellmar-format.$$
echo "check-format: ${#files[@]} files formatted as .clang-format says"
