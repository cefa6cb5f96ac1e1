#!/usr/bin/env bash
# Drives the console as a screen reader does, over AT-SPI on a virtual display, and checks what it
# announces and that its actions work: the dialog role, the spin button's value, the address, check
# boxes toggled through their action, and nothing acting while a message box is open. Everything,
# the display and the session bus included, runs where only loopback exists.
#   scripts/a11y-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh a11y
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quenzo >/dev/null

exec scripts/loopback-only.sh dbus-run-session -- bash -c '
  set -euo pipefail
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap "kill \$app \$xvfb 2>/dev/null || true" EXIT
  export DISPLAY=$display QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  build/release/app/quenzo >/dev/null 2>&1 &
  app=$!
  /usr/bin/python3 scripts/a11y_check.py
'
