#!/usr/bin/env bash
# Installs the Debian packages a task needs, when any is missing; quiet and quick when all are
# there. Usage: scripts/install-deps.sh build|bench|test|lint|fuzz|package|package-check|screenshot|a11y|windows|windows32|windows-package|guest32
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev fonts-dejavu-core fonts-noto-cjk iproute2 util-linux procps)
case "${1:-build}" in
  test) packages+=(libgtest-dev libgmock-dev xvfb xauth socat ncat) ;;
  lint) packages+=(clang-tidy clang-format) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
  package) packages+=(dpkg-dev file) ;;
  package-check) packages+=(dpkg-dev file lintian desktop-file-utils appstream groff-base man-db) ;;
  screenshot) packages+=(xvfb x11-utils imagemagick) ;;
  bench) packages+=(socat strace) ;;
  a11y) packages+=(xvfb xauth dbus at-spi2-core python3-pyatspi) ;;
  # The cross-build, the GoogleTest sources it builds, Wine to run what it makes, with the fonts a
  # Wine install is recommended (its own MS Sans Serif, the dialogs' font, among them: without it
  # Wine draws the font in another, whose layout it faults on), and a display.
  windows) packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools libgtest-dev wine wine64 fonts-wine xvfb xauth x11-utils imagemagick socat locales) ;;
  windows32) packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools libgtest-dev file zip unzip) ;;
  # The emulated guest that runs 32-bit Wine (scripts/guest32-make.sh, guest32-run.sh).
  guest32) packages+=(qemu-system-x86 debootstrap e2fsprogs) ;;
  windows-package) packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools nsis p7zip-full zip unzip wine wine64 fonts-wine xvfb xauth) ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q >/dev/null
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
