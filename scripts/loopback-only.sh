#!/usr/bin/env bash
# Runs a command in a network namespace whose only interface is loopback, when this machine lets us
# make one (as root, or with user namespaces); otherwise runs it as it is and says so. A test or a
# benchmark that mistakes an address then reaches nothing beyond this machine.
#   scripts/loopback-only.sh command [arguments...]
set -euo pipefail

# Inside: bring loopback up, make sure it is the only interface, then run the command.
inside='ip link set lo up && [[ $(ip -o link show | wc -l) -eq 1 ]] && exec "$@"'
if unshare -n true 2>/dev/null; then
  exec unshare -n bash -c "$inside" loopback-only "$@"
elif unshare -rn true 2>/dev/null; then
  exec unshare -rn bash -c "$inside" loopback-only "$@"
fi
echo "loopback-only: no network namespace can be made here; running with the machine's network" >&2
exec "$@"
