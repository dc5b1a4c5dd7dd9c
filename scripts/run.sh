#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pellmar; arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh" >&2
exec "$root/build/pellmar" "$@"
