#!/usr/bin/env bash
# Builds Quenzo optimised and runs its benchmarks; prints the figures. Optional arguments: the flood
# size in MiB (default 256) and the runs of each flood (default and least 3).
#   ./bench.sh [MiB] [runs] [lines|blanks|hex]   the Linux build on Qt's offscreen platform
#   ./bench.sh --windows [MiB] [runs]            the Windows build under Wine (default 16 MiB, 3
#                                                runs), beside a bare Windows program
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == --windows ]]; then
  shift
  scripts/install-deps.sh windows
  cmake --preset windows-bench >/dev/null
  cmake --build --preset windows-bench -j "$(nproc)" --target windows_bench
  echo "command: ./bench.sh --windows $*"
  exec scripts/loopback-only.sh scripts/wine-session.sh scripts/wine-run.sh build/windows-bench/tests/windows_bench.exe "$@"
fi

scripts/install-deps.sh bench
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target console_bench handler_costs
exec scripts/loopback-only.sh build/release/bench/console_bench "$@"
