#!/usr/bin/env bash
# The 32-bit Windows program run as a 32-bit Windows runs it, where this machine's kernel refuses
# 32-bit code: builds the 32-bit test build and the shipped packages here, makes the emulated guest
# (scripts/guest32-make.sh) and runs scripts/guest32-windows.sh inside it. Prints each step's time
# and the lane's own. The guest has no network device.
#   scripts/windows32-lane.sh
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
scripts/install-deps.sh windows32
cmake --preset windows32 >/dev/null
cmake --build --preset windows32 -j "$(nproc)"
./package.sh --windows >/dev/null
echo "windows32-lane: builds in $((SECONDS - started)) s"
made=$SECONDS
scripts/guest32-make.sh
echo "windows32-lane: the guest made in $((SECONDS - made)) s"
booted=$SECONDS
programs=()
for program in build/windows32/tests/*.exe; do
  [[ $program == *_bench.exe ]] || programs+=("$program")
done
status=0
scripts/guest32-run.sh scripts/guest32-windows.sh build/windows-release/quenzo-3.1-setup.exe "${programs[@]}" || status=$?
echo "windows32-lane: the guest ran for $((SECONDS - booted)) s; the lane took $((SECONDS - started)) s"
exit "$status"
