#!/usr/bin/env bash
# Builds Quenzo's packages.
#   ./package.sh            the Debian package (build/release/quenzo_<version>_<arch>.deb)
#   ./package.sh --windows  the portable zips for 64-bit and 32-bit Windows and the installer for
#                           64-bit Windows (build/windows-release/quenzo-<version>-win64.zip and
#                           .exe, build/windows32-release/quenzo-<version>-win32.zip)
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == --windows ]]; then
  scripts/install-deps.sh windows-package
  scripts/install-deps.sh windows32
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j "$(nproc)" --target quenzo
  (cd build/windows-release && cpack -G "ZIP;NSIS")
  cmake --preset windows32-release >/dev/null
  cmake --build --preset windows32-release -j "$(nproc)" --target quenzo
  (cd build/windows32-release && cpack -G ZIP)
  ls build/windows-release/quenzo-*-win64.zip build/windows-release/quenzo-*-win64.exe \
    build/windows32-release/quenzo-*-win32.zip
  exit 0
fi

scripts/install-deps.sh package
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo compressed_docs
(cd build/release && cpack -G DEB)
ls build/release/*.deb
