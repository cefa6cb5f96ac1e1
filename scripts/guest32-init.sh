#!/bin/bash
# The emulated guest's first process (scripts/guest32-run.sh boots it): mounts what a system needs,
# mounts the project's share at the path the project has on the host, runs the script the host left
# in build/guest32/command from the project's folder, leaves its status in build/guest32/status and
# powers the guest off. The guest has loopback only.
mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs shm /dev/shm
mount -t tmpfs tmp /tmp
mount -t tmpfs run /run
ip link set lo up
hostname quenzo-guest
share=$(sed -n 's/.*quenzo\.share=\([^ ]*\).*/\1/p' /proc/cmdline)
mkdir -p "$share"
status=1
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576,cache=loose quenzo "$share"; then
  cd "$share"
  export HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8
  bash build/guest32/command </dev/null
  status=$?
  echo "$status" >build/guest32/status
  sync
fi
echo "guest: the command ended with status $status"
echo o >/proc/sysrq-trigger
sleep 60
