#!/usr/bin/env bash
# Builds the Debian package of Quenzo (build/release/quenzo_<version>_<arch>.deb).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh package
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo compressed_docs
(cd build/release && cpack -G DEB)
ls build/release/*.deb
