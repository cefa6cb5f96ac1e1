#!/usr/bin/env bash
# Whether Wine here runs 32-bit Windows programs: builds a 32-bit program that only prints a line
# and tries it. Where Wine cannot start it, Wine says nothing and exits with 0, so the line is what
# tells. Exits 0 when the program ran and 3 when it did not; any other status is a failure of the
# probe itself (the 32-bit compiler, say). Inside a Wine session already, pass --inside.
#   scripts/windows32-probe.sh [--inside]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows32 >/dev/null
mkdir -p build/windows32-probe
printf '#include <stdio.h>\nint main(void) { puts("32-bit program ran"); return 0; }\n' >build/windows32-probe/probe.c
i686-w64-mingw32-gcc -o build/windows32-probe/probe.exe build/windows32-probe/probe.c
if [[ "${1:-}" == --inside ]]; then
  said=$(scripts/wine-run.sh build/windows32-probe/probe.exe 2>&1 || true)
else
  said=$(scripts/loopback-only.sh scripts/wine-session.sh scripts/wine-run.sh build/windows32-probe/probe.exe 2>&1 || true)
fi
grep -q "32-bit program ran" <<<"$said" || exit 3
