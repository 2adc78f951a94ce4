#!/bin/sh
# Installs what is needed, builds Meridal and starts it. Without a serial
# HART modem attached (no /dev/ttyUSB*, /dev/ttyACM*) the program starts in
# demo mode against a simulated TIVERN probe.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical display found: start this command from a desktop session." >&2
  exit 1
fi

if ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
  exec ./build/bin/Meridal
fi
echo "No serial HART modem found: starting in demo mode against the simulator."
exec ./build/bin/Meridal --demo
