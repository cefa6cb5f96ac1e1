#!/usr/bin/env bash
# Inside the emulated guest (scripts/windows32-lane.sh boots it for this script): the 32-bit
# Windows program as a 32-bit Windows runs it, in a 32-bit Wine prefix of the guest's own disk.
# Runs the 32-bit build's test programs, each whole in one process (a Wine start costs seconds
# under emulation), then the shipped installer: it must take its 32-bit branch and install the
# 32-bit program, which must start and talk to loopback peers, and its uninstaller must take it away.
#   scripts/guest32-windows.sh INSTALLER TEST-PROGRAM...
set -uo pipefail
cd "$(dirname "$0")/.."
installer=$1
shift
export QUENZO_WINEARCH=win32 QUENZO_WINEPREFIX=/root/prefix32
# The emulated processor runs programs many times slower: the tests wait that much longer for
# what must come.
export QUENZO_TEST_SLOWDOWN=10
run=scripts/wine-run.sh
failed=()
now() { date +%s; }
lap() { echo "guest32: $1 in $(($(now) - $2)) s"; }

# wine-session.sh makes the prefix and the display, then runs this script's second half.
if [[ ${1:-} != --inside ]]; then
  QUENZO_LANE_START=$(now) exec scripts/wine-session.sh bash "$0" "$installer" --inside "$@"
fi
shift
started=$QUENZO_LANE_START
lap "the 32-bit prefix and the display" "$started"

for program in "$@"; do
  name=$(basename "$program" .exe)
  begun=$(now)
  if [[ $name == quenzo_smoke ]]; then
    $run "$program" build/windows32/app/Quenzo.exe >"build/guest32/$name.log" 2>&1
  else
    $run "$program" --gtest_brief=1 >"build/guest32/$name.log" 2>&1
  fi
  status=$?
  summary=$(grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "build/guest32/$name.log" | tr '\n' ' ')
  if [[ $status == 0 ]]; then
    echo "ok   $name ($(($(now) - begun)) s) $summary"
  else
    echo "FAIL $name ($(($(now) - begun)) s, status $status) $summary"
    grep -E '^\[  FAILED  \]|Failure|error' "build/guest32/$name.log" | head -20
    failed+=("$name")
  fi
done

# The shipped installer on a 32-bit Windows: its 32-bit branch, the 32-bit program.
begun=$(now)
drive=$QUENZO_WINEPREFIX/drive_c
$run "$installer" /S >build/guest32/installer.log 2>&1
installed="$drive/Program Files/Quenzo/Quenzo.exe"
if cmp -s "$installed" build/windows32-release/packaging/Quenzo.exe; then
  echo "ok   the installer put the 32-bit program in Program Files"
  if $run build/windows32/tests/quenzo_smoke.exe "$installed" >build/guest32/installed_smoke.log 2>&1; then
    echo "ok   the installed program talks to loopback peers and ends with status 0"
  else
    echo "FAIL the installed program's smoke test"; tail -5 build/guest32/installed_smoke.log; failed+=(installed-smoke)
  fi
else
  echo "FAIL the installer did not install the 32-bit program: $(ls "$drive/Program Files"*/Quenzo 2>&1 | tr '\n' ' ')"
  failed+=(installer)
fi
$run "$drive/Program Files/Quenzo/Uninstall.exe" /S >>build/guest32/installer.log 2>&1
for _ in $(seq 300); do [[ -e $installed ]] || break; sleep 0.2; done
if [[ -e $installed ]]; then
  echo "FAIL the uninstaller left the program"; failed+=(uninstaller)
else
  echo "ok   the uninstaller took the program away"
fi
lap "the installer and uninstaller" "$begun"
lap "the 32-bit lane inside the guest" "$started"
[[ ${#failed[@]} == 0 ]] || { echo "guest32: failed: ${failed[*]}"; exit 1; }
