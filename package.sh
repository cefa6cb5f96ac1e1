#!/usr/bin/env bash
# Builds Quenzo's packages.
#   ./package.sh            the Debian package (build/release/quenzo_<version>_<arch>.deb)
#   ./package.sh --windows  the portable zips for 64-bit and 32-bit Windows
#                           (build/windows-release/quenzo-<version>-win64.zip,
#                           build/windows32-release/quenzo-<version>-win32.zip) and one installer
#                           that installs the program of the Windows it runs on
#                           (build/windows-release/quenzo-<version>-setup.exe)
set -euo pipefail
cd "$(dirname "$0")"
# Packages are made the same way every time: the tools write the last commit's time where they
# would write the time of day (the programs' PE time stamps among them), so that each package's
# copy of a program is the same file as every other's.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH

if [[ "${1:-}" == --windows ]]; then
  scripts/install-deps.sh windows-package
  scripts/install-deps.sh windows32
  # The 32-bit program first: the installer, made in the 64-bit tree, carries the very program of
  # the win32 zip.
  cmake --preset windows32-release >/dev/null
  cmake --build --preset windows32-release -j "$(nproc)" --target quenzo
  (cd build/windows32-release && cpack -G ZIP)
  unzip -q -o -j build/windows32-release/quenzo-*-win32.zip Quenzo.exe -d build/windows32-release/packaging
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j "$(nproc)" --target quenzo
  (cd build/windows-release && cpack -G "ZIP;NSIS")
  ls build/windows-release/quenzo-*-win64.zip build/windows32-release/quenzo-*-win32.zip \
    build/windows-release/quenzo-*-setup.exe
  exit 0
fi

scripts/install-deps.sh package
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo compressed_docs
(cd build/release && cpack -G DEB)
ls build/release/*.deb
