#!/usr/bin/env bash
# Boots the emulated guest (scripts/guest32-make.sh makes it) and runs a command inside, from the
# project's folder, which the guest sees through a share at the path it has here. The guest has no
# network device. Prints what the guest prints; exits with the command's status.
#   scripts/guest32-run.sh command [arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/guest32
[[ -f $out/root.ext4 ]] || { echo "guest32-run: no guest; scripts/guest32-make.sh makes it" >&2; exit 1; }
rm -f "$out/status"
printf '%q ' "$@" >"$out/command"
echo >>"$out/command"
# The software CPU: this machine's virtual-machine device boots no stock kernel. SMAP is left out,
# since QEMU 7.2's emulation of it faults Wine's return to user mode.
qemu-system-x86_64 -accel tcg,thread=multi -cpu max,-la57,-smap -smp 2 -m 4096 -nic none \
  -display none -no-reboot -serial stdio -monitor none \
  -kernel "$out/vmlinuz" -initrd "$out/initrd.img" \
  -drive file="$out/root.ext4",format=raw,if=virtio,cache=unsafe \
  -virtfs local,path="$PWD",mount_tag=quenzo,security_model=none,id=quenzo \
  -append "root=/dev/vda rw console=ttyS0 quiet init=/sbin/quenzo-init quenzo.share=$PWD"
[[ -f $out/status ]] || { echo "guest32-run: the guest ended without the command's status" >&2; exit 1; }
exit "$(cat "$out/status")"
