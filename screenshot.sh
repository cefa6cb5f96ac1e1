#!/usr/bin/env bash
# Starts the console on a virtual X display and writes a PNG picture of its window.
# Usage: ./screenshot.sh [out.png]             (default docs/console.png)
#        ./screenshot.sh --windows [out.png]   Quenzo.exe under Wine (default docs/console-wine.png)
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == --windows ]]; then
  out=${2:-docs/console-wine.png}
  scripts/install-deps.sh windows
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j "$(nproc)" --target quenzo
  program=build/windows-release/app/Quenzo.exe
  launch=(scripts/wine-run.sh "$program")
else
  out=${1:-docs/console.png}
  scripts/install-deps.sh screenshot
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)" --target quenzo
  launch=(build/release/app/quenzo)
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true; [[ "${1:-}" != --windows ]] || /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
sleep 1
# The console itself sees loopback only; the display is reached through its local socket.
DISPLAY=$display scripts/loopback-only.sh "${launch[@]}" >/dev/null 2>&1 &
app=$!
for _ in $(seq 300); do
  window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | awk '/"Quenzo - /{print $1; exit}')
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "${window:-}" ]] || { echo "the console did not open" >&2; exit 1; }
sleep 1
mkdir -p "$(dirname "$out")"
DISPLAY=$display import -window "$window" "$out"
echo "$out"
