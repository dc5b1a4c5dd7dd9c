#!/usr/bin/env bash
# Builds the Debian package: package.sh [FOLDER] leaves
# FOLDER/pellmar_<version>_<arch>.deb (FOLDER defaults to build-pkg) with the
# program, its window module, help page, language file, desktop entry and
# icon. Install it with `sudo apt install ./build-pkg/pellmar_1.1_amd64.deb`.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-pkg}

# dpkg-dev's dpkg-shlibdeps names the libraries the package needs; the
# configure step looks for GoogleTest even when no test is built.
bash "$root/scripts/install-packages.sh" g++ cmake ninja-build pkg-config libsystemd-dev qt6-base-dev \
  libgtest-dev libgmock-dev dpkg-dev
# Only what the install rules place is built; the tests are not packed.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --target pellmar pellmar_window -- -j"$(nproc)" |
  { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
(cd "$build" && cpack -G DEB)
