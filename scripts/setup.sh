#!/usr/bin/env bash
# Installs what Pellmar needs from Debian's packages (only what is missing)
# and builds it in build/. Run by run.sh and test.sh; exits non-zero when
# the configure or the build fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

bash "$root/scripts/install-build-packages.sh"
# In CI a warning fails the build (CMakeLists.txt reads CI=true).
bash "$root/scripts/build-dir.sh" "$root/build"
