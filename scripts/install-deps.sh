#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing; quiet and quick when all are
# there. Usage: scripts/install-deps.sh build|test
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev fonts-dejavu-core fonts-noto-cjk)
if [[ "${1:-build}" == test ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth socat ncat)
fi

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
