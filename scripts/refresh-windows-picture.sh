#!/usr/bin/env bash
# Refreshes the README's picture of the Windows window, docs/windows-window.png,
# from the one the last scripts/test-windows.sh took. Run it by hand when the
# window's look changed; the test run itself never writes into the checkout.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
picture="$root/build-windows/windows-window.png"
if [ ! -f "$picture" ]; then
  echo "refresh-windows-picture: no $picture yet; run scripts/test-windows.sh first" >&2
  exit 1
fi
cp "$picture" "$root/docs/windows-window.png"
echo "refresh-windows-picture: docs/windows-window.png"
