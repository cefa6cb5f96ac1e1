#!/usr/bin/env bash
# Builds Quenzo optimised and runs its benchmarks; prints the figures. Optional arguments: the flood
# size in MiB (default 256) and the runs of each flood (default and least 3).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh bench
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target console_bench
exec scripts/loopback-only.sh build/release/bench/console_bench "$@"
