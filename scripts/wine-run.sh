#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix (build/wine-prefix, or
# $QUENZO_WINEPREFIX), making the prefix on first use. CMake runs test discovery and the tests
# through this script. Needs a display: test.sh --windows starts Xvfb and sets DISPLAY. The prefix is
# 64-bit Windows unless QUENZO_WINEARCH=win32 asks for a 32-bit one (where 32-bit Wine runs).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUENZO_WINEPREFIX:-$here/build/wine-prefix}
export WINEARCH=${QUENZO_WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and asking for them would wait for a person. No menu
# entries on the host's desktop for what an installer adds. No debugger either: a program that
# faults ends there, its fault printed, instead of waiting in it.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d}
if [[ $WINEARCH == win32 ]]; then
  loader=/usr/lib/wine/wine
  [[ -x $loader ]] || loader=$(command -v wine)
else
  loader=/usr/lib/wine/wine64
  [[ -x $loader ]] || loader=$(command -v wine64 || command -v wine)
fi
server=/usr/lib/wine/wineserver
[[ -x $server ]] || server=$(command -v wineserver)

if [[ ! -f $WINEPREFIX/.quenzo-ready ]]; then
  mkdir -p "$WINEPREFIX"
  "$server" -k >/dev/null 2>&1 || true
  "$loader" wineboot -i >/dev/null 2>&1 || true
  # Without a window manager, a managed window's destruction waits for one about 2 s.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Wine's own fonts, and a fallback for Chinese text to the Noto CJK fonts.
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
  for cjk in /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc; do
    [[ -f $cjk ]] && cp -n "$cjk" "$fonts/"
  done
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1
  done
  # The settings are on disk once the server has gone, a few seconds after the last program.
  "$server" -w
  touch "$WINEPREFIX/.quenzo-ready"
fi
# A running server and Wine's own services first, started apart from the caller's output: they
# outlive the program, and holding a pipe of the caller's open they would keep it waiting. Without
# them running, the first program's start can hang test discovery.
"$server" -p </dev/null >/dev/null 2>&1 || true
"$loader" wineboot </dev/null >/dev/null 2>&1 || true
exec "$loader" "$@"
