#!/usr/bin/env bash
# Measures this checkout beside an earlier revision in one run, so that the machine's drift tilts
# neither: builds REV's benchmark in a worktree of its own (build/compare/REV), then runs the two
# benchmarks in turns, REV first, the given number of pairs.
#   scripts/bench-compare.sh REV [pairs] [benchmark arguments...]            the Linux benchmark
#   scripts/bench-compare.sh --windows REV [pairs] [benchmark arguments...]  the Windows one, under Wine
set -euo pipefail
cd "$(dirname "$0")/.."

windows=0
if [[ "${1:-}" == --windows ]]; then
  windows=1
  shift
fi
rev=$(git rev-parse --short "${1:?usage: scripts/bench-compare.sh [--windows] REV [pairs] [arguments...]}")
pairs=${2:-2}
shift 2 || shift $#
tree=build/compare/$rev
[[ -d $tree/.git || -f $tree/.git ]] || git worktree add --detach "$tree" "$rev" >/dev/null

build() {  # build <tree>: the benchmark's path in it
  if [[ $windows == 1 ]]; then
    (cd "$1" && scripts/install-deps.sh windows && cmake --preset windows-bench >/dev/null &&
      cmake --build --preset windows-bench -j "$(nproc)" --target windows_bench >/dev/null)
    echo "$1/build/windows-bench/tests/windows_bench.exe"
  else
    (cd "$1" && scripts/install-deps.sh bench && cmake --preset release >/dev/null &&
      cmake --build --preset release -j "$(nproc)" --target console_bench handler_costs >/dev/null)
    echo "$1/build/release/bench/console_bench"
  fi
}
before=$(build "$tree")
after=$(build .)

run() {  # run <label> <benchmark>
  echo "=== $1"
  if [[ $windows == 1 ]]; then
    scripts/loopback-only.sh scripts/wine-session.sh scripts/wine-run.sh "$2" "${args[@]}"
  else
    scripts/loopback-only.sh "$2" "${args[@]}"
  fi
}
args=("$@")
echo "command: scripts/bench-compare.sh $([[ $windows == 1 ]] && echo '--windows ')$rev $pairs ${args[*]}"
for ((i = 1; i <= pairs; ++i)); do
  run "$rev, pair $i" "$before"
  run "$(git rev-parse --short HEAD)$(git diff --quiet || echo '+changes'), pair $i" "$after"
done
