#!/usr/bin/env bash
# Runs a command with a headless display and a Wine server of its own for the project's prefix,
# and takes both down afterwards, whatever the command's outcome. Its exit status is the command's.
#   scripts/wine-session.sh command [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUENZO_WINEPREFIX:-$here/build/wine-prefix}
server=/usr/lib/wine/wineserver
[[ -x $server ]] || server=$(command -v wineserver)

# A server of the prefix that was started elsewhere, outside a loopback-only namespace, would make
# every program's sockets in its namespace: end it, so that this session's programs start one here.
"$server" -k >/dev/null 2>&1 || true
"$server" -w >/dev/null 2>&1 || true

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
# Wine's programs make their sockets in the server's network namespace, not their own: the
# prefix's server must be in this shell's, or programs run here would reach another network.
ours=$(readlink /proc/$$/ns/net)
servers=$(pgrep -x 'wineserver(64)?') || [[ $? -eq 1 ]] # 1: none running
for pid in $servers; do
  if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
    theirs=$(readlink "/proc/$pid/ns/net" 2>/dev/null || echo unknown)
    if [[ $theirs != "$ours" ]]; then
      echo "wine-session: the prefix's Wine server (pid $pid) is in another network namespace" >&2
      exit 1
    fi
  fi
done
"$@"
