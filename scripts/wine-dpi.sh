#!/usr/bin/env bash
# Runs a Windows program under Wine with the screen at DPI dots an inch, then sets the prefix back
# to the screen's own dots, whatever the program's end. Usage: scripts/wine-dpi.sh DPI PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpi=$1
shift
"$here/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
trap '"$here/wine-run.sh" reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
"$here/wine-run.sh" "$@"
