#!/usr/bin/env bash
# Builds the Debian package and checks it as a distribution would: lintian reports no error and no
# warning, the desktop entry and the AppStream metainfo validate, the manual page renders without
# a warning; then installs it and checks that the program, manual page, metainfo, desktop entry,
# copyright and changelog are where the package says, and removes it again.
#   scripts/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package-check
./package.sh >/dev/null
deb=build/release/quenzo_3.1_amd64.deb

lintian --fail-on error,warning "$deb"
echo "lintian: clean"
desktop-file-validate packaging/com.example.quenzo.desktop
echo "desktop-file-validate: clean"
appstreamcli validate --no-net packaging/com.example.quenzo.metainfo.xml
warnings=$(groff -ww -z -man packaging/quenzo.1 2>&1)
[[ -z "$warnings" ]] || { echo "$warnings"; exit 1; }
man_out=$(MANWIDTH=80 man -l packaging/quenzo.1 2>&1 >/dev/null)
[[ -z "$man_out" ]] || { echo "$man_out"; exit 1; }
echo "manual page: renders without warnings"

sudo=
[[ $(id -u) -eq 0 ]] || sudo=sudo
$sudo apt-get install -y -q "./$deb" >/dev/null
trap '$sudo dpkg -r quenzo >/dev/null' EXIT
listed=$(dpkg -L quenzo)
for path in /usr/bin/quenzo /usr/share/man/man1/quenzo.1.gz /usr/share/metainfo/com.example.quenzo.metainfo.xml \
            /usr/share/applications/com.example.quenzo.desktop /usr/share/doc/quenzo/copyright \
            /usr/share/doc/quenzo/changelog.gz; do
  grep -qx "$path" <<<"$listed" || { echo "not in the package: $path"; exit 1; }
  [[ -f "$path" ]] || { echo "not installed: $path"; exit 1; }
done
man -w quenzo >/dev/null
echo "installed: program, manual page, metainfo, desktop entry, copyright and changelog in place"
echo "package check: passed"
