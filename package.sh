#!/usr/bin/env bash
# Builds Quenzo's packages.
#   ./package.sh            the Debian package (build/release/quenzo_<version>_<arch>.deb)
#   ./package.sh --windows  the portable zip and the installer for 64-bit Windows
#                           (build/windows-release/quenzo-<version>-win64.zip and .exe)
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == --windows ]]; then
  scripts/install-deps.sh windows-package
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j "$(nproc)" --target quenzo
  (cd build/windows-release && cpack -G "ZIP;NSIS")
  ls build/windows-release/quenzo-*-win64.zip build/windows-release/quenzo-*-win64.exe
  exit 0
fi

scripts/install-deps.sh package
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo compressed_docs
(cd build/release && cpack -G DEB)
ls build/release/*.deb
