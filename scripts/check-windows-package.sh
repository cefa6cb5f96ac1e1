#!/usr/bin/env bash
# Checks the Windows packages as a user meets them, under Wine on a headless display where only
# loopback exists: the zip holds the program and its notices, and the program from the zip starts,
# talks to loopback peers and ends with status 0; the installer is a 32-bit program carrying the
# programs of both zips, installs silently with a Start-menu entry and an uninstaller, and the
# uninstaller takes it all away. Where Wine here cannot run a 32-bit program, the installer that
# runs is its twin: the same script on NSIS's 64-bit stubs.
set -euo pipefail
cd "$(dirname "$0")/.."

./package.sh --windows
scripts/install-deps.sh windows
# The smoke driver is part of the Windows test build.
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target quenzo_smoke

zip=build/windows-release/quenzo-3.1-win64.zip
zip32=build/windows32-release/quenzo-3.1-win32.zip
installer=build/windows-release/quenzo-3.1-setup.exe
listing=$(unzip -Z1 "$zip")
for file in Quenzo.exe LICENSE.txt NOTICES.txt; do
  grep -qx "$file" <<<"$listing" || { echo "check-windows-package: $file is not in $zip" >&2; exit 1; }
done
grep -q "GCC RUNTIME LIBRARY EXCEPTION" <(unzip -p "$zip" NOTICES.txt) || { echo "check-windows-package: runtime notices missing" >&2; exit 1; }
# Text files end their lines as Windows does: every LF after a CR.
for file in LICENSE.txt NOTICES.txt; do
  if unzip -p "$zip" "$file" | grep -qv $'\r$'; then
    echo "check-windows-package: $file has lines without CR LF" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work/portable"
unzip -q "$zip32" -d "$work/portable32"
cp "$installer" "$work/"

# The installer as a file: a 32-bit program, so that it starts on every Windows, holding the very
# programs of the two zips beside the notices.
file "$installer" | grep -q 'PE32 executable (GUI) Intel 80386.*Nullsoft Installer' ||
  { echo "check-windows-package: the installer is not a 32-bit NSIS installer: $(file -b "$installer")" >&2; exit 1; }
7z x -aou -o"$work/contents" "$installer" >/dev/null
for program in "$work/portable/Quenzo.exe" "$work/portable32/Quenzo.exe"; do
  found=no
  for carried in "$work/contents"/Quenzo*.exe; do
    cmp -s "$carried" "$program" && found=yes
  done
  [[ $found == yes ]] || { echo "check-windows-package: the installer does not carry $program as the zip has it" >&2; exit 1; }
done
for file in LICENSE.txt NOTICES.txt; do
  [[ -f "$work/contents/$file" ]] || { echo "check-windows-package: the installer does not carry $file" >&2; exit 1; }
done
# Its twin on the 64-bit stubs, from the script cpack wrote, for a Wine that runs no 32-bit program.
nsis=build/windows-release/_CPack_Packages/win64/NSIS
sed -e 's/^Target x86-unicode$/Target amd64-unicode/' -e "s|^  OutFile .*|  OutFile \"$work/twin.exe\"|" \
  "$nsis/project.nsi" >"$work/twin.nsi"
grep -q '^Target amd64-unicode$' "$work/twin.nsi" || { echo "check-windows-package: no stub line to change" >&2; exit 1; }
(cd "$nsis" && makensis -NOCD -V1 "$work/twin.nsi")

cat >"$work/inside.sh" <<INSIDE
set -euo pipefail
run=scripts/wine-run.sh
\$run build/windows/tests/quenzo_smoke.exe "$work/portable/Quenzo.exe"
drive=\$WINEPREFIX/drive_c
probe=0
scripts/windows32-probe.sh --inside || probe=\$?
[[ \$probe == 0 || \$probe == 3 ]] || exit "\$probe"
if [[ \$probe == 0 ]]; then
  echo "check-windows-package: Wine here runs 32-bit programs; the shipped installer runs"
  \$run "$work/$(basename "$installer")" /S
else
  echo "check-windows-package: Wine here runs no 32-bit program; the installer's twin on 64-bit stubs runs"
  \$run "$work/twin.exe" /S
fi
# Wine is 64-bit Windows: the 64-bit program is the one installed.
cmp -s "\$drive/Program Files/Quenzo/Quenzo.exe" "$work/portable/Quenzo.exe" ||
  { echo "check-windows-package: the installed program is not the 64-bit one" >&2; exit 1; }
# The installer's key, in its own registry view, to be gone after the uninstaller.
key='HKLM\\Software\\Quenzo developers'
\$run reg query "\$key" /reg:32 >/dev/null 2>&1 || \$run reg query "\$key" /reg:64 >/dev/null 2>&1 ||
  { echo "check-windows-package: the installer wrote no registry key" >&2; exit 1; }
for file in "Program Files/Quenzo/Quenzo.exe" "Program Files/Quenzo/Uninstall.exe" "Program Files/Quenzo/NOTICES.txt"; do
  [[ -f "\$drive/\$file" ]] || { echo "check-windows-package: the installer left no \$file" >&2; exit 1; }
done
link=\$(find "\$drive" -path "*Start Menu/Programs/Quenzo*" -name "Quenzo.lnk" | head -1)
[[ -n \$link ]] || { echo "check-windows-package: no Start-menu entry" >&2; exit 1; }
# The program is started where the entry points, as a user's click starts it.
target=\$(strings "\$link" | grep -m1 -i '^C:.*quenzo\.exe\$' | sed 's|^C:|'"\$drive"'|; s|\\\\|/|g')
[[ -n \$target && -f \$target ]] || { echo "check-windows-package: the Start-menu entry points to no program (\$target)" >&2; exit 1; }
\$run build/windows/tests/quenzo_smoke.exe "\$target"
\$run "\$drive/Program Files/Quenzo/Uninstall.exe" /S
# The uninstaller copies itself away and finishes from there.
for _ in \$(seq 100); do [[ -e "\$drive/Program Files/Quenzo/Quenzo.exe" ]] || break; sleep 0.1; done
[[ ! -e "\$drive/Program Files/Quenzo/Quenzo.exe" ]] || { echo "check-windows-package: the uninstaller left the program" >&2; exit 1; }
if \$run reg query "\$key" /reg:32 >/dev/null 2>&1 || \$run reg query "\$key" /reg:64 >/dev/null 2>&1; then
  echo "check-windows-package: the uninstaller left its registry key" >&2
  exit 1
fi
# Wine writes no menu entries for the Start-menu entry into the home folder.
if find "$work/home" -name '*Quenzo*' 2>/dev/null | grep -q .; then
  echo "check-windows-package: Wine wrote menu entries into the home folder" >&2
  exit 1
fi
echo "check-windows-package: zip, installer and uninstaller as a user meets them"
INSIDE
export QUENZO_WINEPREFIX=$work/prefix
# Wine's menu builder is off (scripts/wine-run.sh), and any home folder it would write to is the
# check's own.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"
scripts/loopback-only.sh scripts/wine-session.sh bash "$work/inside.sh"
