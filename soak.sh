#!/usr/bin/env bash
# Builds Quenzo optimised and runs the soak: open/close cycles in each mode, then two consoles
# flooding each other with auto-send at 1 ms. Prints descriptors, memory and counters.
#   ./soak.sh [cycles per mode, default 2000] [MiB each way, default 1024]
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target console_soak
exec scripts/loopback-only.sh build/release/bench/console_soak "$@"
