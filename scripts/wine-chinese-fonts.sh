#!/usr/bin/env bash
# Runs a Windows program under Wine at DPI dots an inch with the fonts of a Chinese (Simplified)
# Windows, then takes them away again, whatever the program's end. A Chinese Windows draws the
# dialogs' "MS Sans Serif" in SimSun, the font of its character set, whose Latin letters are all
# half a character cell wide; Wine has no SimSun, and draws the dialogs in whatever font it finds.
# Here SimSun is Noto Sans Mono CJK SC, a font of the same kind, and "MS Sans Serif" is drawn in it
# as on that system. Wine takes a replacement only for a font it does not have: where Wine's own
# fonts are installed (fonts-wine, with an "MS Sans Serif" of its own), the run cannot be made and
# ends with 77, which the suite counts as skipped. The code page (936) comes from the locale.
#   scripts/wine-chinese-fonts.sh DPI PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
replacements='HKCU\Software\Wine\Fonts\Replacements'
restore() {
  "$here/wine-run.sh" reg delete "$replacements" /v "MS Sans Serif" /f >/dev/null 2>&1 || true
  "$here/wine-run.sh" reg delete "$replacements" /v SimSun /f >/dev/null 2>&1 || true
}
if [[ -e /usr/share/wine/fonts/ms_sans_serif.ttf ]]; then
  echo "wine-chinese-fonts: Wine's own MS Sans Serif is installed; it cannot be drawn as SimSun" >&2
  exit 77
fi
trap restore EXIT
"$here/wine-run.sh" reg add "$replacements" /v SimSun /t REG_SZ /d "Noto Sans Mono CJK SC" /f >/dev/null
"$here/wine-run.sh" reg add "$replacements" /v "MS Sans Serif" /t REG_SZ /d "Noto Sans Mono CJK SC" /f >/dev/null
"$here/wine-dpi.sh" "$@"
