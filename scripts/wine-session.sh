#!/usr/bin/env bash
# Runs a command with a headless display and a Wine server of its own for the project's prefix,
# and takes both down afterwards, whatever the command's outcome. Its exit status is the command's.
#   scripts/wine-session.sh command [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUENZO_WINEPREFIX:-$here/build/wine-prefix}
server=/usr/lib/wine/wineserver
[[ -x $server ]] || server=$(command -v wineserver)

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
finish() {
  "$server" -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT
export DISPLAY=$display
for _ in $(seq 50); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
# The prefix is made (or found) before the command's first program.
"$here/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 </dev/null
"$@"
