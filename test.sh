#!/usr/bin/env bash
# Builds Quenzo with warnings as errors and runs the whole test suite headless.
#   ./test.sh             plain build (build/ci)
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build (build/asan)
#   ./test.sh --windows   Windows build cross-built with mingw-w64, run under Wine (build/windows);
#                         then the 32-bit build's suite: here where this machine runs 32-bit
#                         programs, else with the shipped installer in an emulated guest
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == --windows ]]; then
  scripts/install-deps.sh windows
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(nproc)"
  # The Chinese locale, under which Wine's programs get the code page 936, for one lane of tests.
  mkdir -p build/windows/locales
  [[ -d build/windows/locales/zh_CN.UTF-8 ]] || localedef -i zh_CN -f UTF-8 build/windows/locales/zh_CN.UTF-8
  # Under Wine on a headless display, where only loopback exists; one test at a time, since Wine's
  # programs share one desktop and a dialog opening in one takes the focus from another's.
  scripts/loopback-only.sh scripts/wine-session.sh ctest --preset windows -j 1
  # The 32-bit build's suite, where this machine runs 32-bit Windows programs.
  probe=0
  scripts/windows32-probe.sh || probe=$?
  [[ $probe == 0 || $probe == 3 ]] || exit "$probe"
  if [[ $probe == 0 ]]; then
    echo "32-bit lane: this machine runs 32-bit Windows programs; the suite runs on the 32-bit build"
    cmake --preset windows32 >/dev/null
    cmake --build --preset windows32 -j "$(nproc)"
    exec scripts/loopback-only.sh scripts/wine-session.sh ctest --preset windows32 -j 1
  fi
  echo "32-bit lane: this machine cannot run 32-bit x86 code; the suite built for 32-bit Windows and" \
    "the shipped installer run in an emulated guest with 32-bit Wine (scripts/windows32-lane.sh)"
  exec scripts/windows32-lane.sh
fi

preset=ci
[[ "${1:-}" == --sanitize ]] && preset=asan

scripts/install-deps.sh test
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# The suite runs where only loopback exists, so that no test can reach another machine.
scripts/loopback-only.sh ctest --preset "$preset" -j "$(nproc)"
