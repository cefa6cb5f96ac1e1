#!/usr/bin/env bash
# Makes the emulated guest that runs 32-bit Wine where this machine's kernel refuses 32-bit code:
# Debian 12 amd64 with i386 added, Wine for both widths and a headless display, booted directly
# from the kernel and initrd taken out of its root. Everything is made under build/guest32:
#   root/         the guest's root folder, made with debootstrap and finished in a chroot here
#   root.ext4     the root as a disk image (remade from root/ each time, quick)
#   vmlinuz, initrd.img
# The guest has no network device; only this script, on the host, downloads packages.
#   scripts/guest32-make.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh guest32

out=build/guest32
root=$out/root
mirror=${QUENZO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
packages=(wine wine32 wine64 libwine libwine:i386 fonts-wine xvfb xauth x11-utils linux-image-amd64
  iproute2 util-linux procps kmod)
mkdir -p "$out"

chrooted() {
  mount --bind /proc "$root/proc"
  mount --bind /sys "$root/sys"
  mount --bind /dev "$root/dev"
  local status=0
  DEBIAN_FRONTEND=noninteractive chroot "$root" "$@" || status=$?
  umount "$root/dev" "$root/sys" "$root/proc"
  return "$status"
}

if [[ ! -f $root/.quenzo-ready ]]; then
  started=$SECONDS
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$out/debootstrap.log" 2>&1 ||
    { tail -20 "$out/debootstrap.log" >&2; exit 1; }
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  chrooted dpkg --add-architecture i386
  chrooted apt-get update -q >"$out/apt.log" 2>&1
  chrooted apt-get install -y -q --no-install-recommends "${packages[@]}" >>"$out/apt.log" 2>&1 ||
    { tail -20 "$out/apt.log" >&2; exit 1; }
  chrooted apt-get clean
  # The guest mounts the project's share at the path it has here, so that every path the build
  # wrote (ctest's, the tests' own) holds in the guest too.
  echo 9p >>"$root/etc/initramfs-tools/modules"
  echo 9pnet_virtio >>"$root/etc/initramfs-tools/modules"
  chrooted update-initramfs -u -k all >>"$out/apt.log" 2>&1
  echo "guest32-make: root made in $((SECONDS - started)) s" >&2
  touch "$root/.quenzo-ready"
fi
install -m 755 scripts/guest32-init.sh "$root/sbin/quenzo-init"
# The guest's own name is found without a name server, as a machine's is; with no network device
# its one address is loopback's, which Windows gives for its own name on a machine without one.
printf '127.0.0.1 localhost quenzo-guest\n' >"$root/etc/hosts"
cp "$(ls "$root"/boot/vmlinuz-* | tail -1)" "$out/vmlinuz"
cp "$(ls "$root"/boot/initrd.img-* | tail -1)" "$out/initrd.img"
rm -f "$out/root.ext4"
mke2fs -q -t ext4 -d "$root" -L quenzo-guest "$out/root.ext4" 6G
