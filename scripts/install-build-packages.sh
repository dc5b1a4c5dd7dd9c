#!/usr/bin/env bash
# Installs the Debian packages that building Pellmar and running its tests
# need (only what is missing): one list for every build the tests run in.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# exfatprogs and exfat-fuse give the reliability tests a real exFAT stick,
# dosfstools and fusefat a real FAT one (where the kernel has no vfat);
# libqt6svg6 draws the window's icon, qt6-translations-l10n holds Qt's own
# Japanese texts. libsystemd-dev's sd-bus is how an eject reaches udisks2;
# udisks2 (with udev and dbus) is the real service the eject test runs.
bash "$root/scripts/install-packages.sh" g++ cmake ninja-build pkg-config libsystemd-dev \
  qt6-base-dev libgtest-dev libgmock-dev fonts-liberation fonts-ipafont-gothic xdg-utils \
  clang-format exfatprogs exfat-fuse dosfstools fusefat libqt6svg6 qt6-translations-l10n udisks2
