#!/usr/bin/env bash
# Builds Quenzo (optimised) and starts the console.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo
exec build/release/app/quenzo "$@"
