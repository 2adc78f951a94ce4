#!/bin/sh
# Installs the Debian 12 packages needed to build, run and test Meridal.
# Idempotent: packages already present are left as they are. Works as root
# without sudo; as another user it uses sudo when available.
set -eu

PACKAGES="
  build-essential
  cmake
  ninja-build
  pkg-config
  qt6-base-dev
  qt6-base-dev-tools
  qt6-serialport-dev
  libgl-dev
  qt6-qpa-plugins
  fonts-dejavu-core
  xvfb
  libxcb1-dev
  xauth
  tshark
  x11-utils
  desktop-file-utils
  dpkg-dev
  file
  locales
"

# The tests run again under this decimal-comma locale.
TEST_LOCALE=de_DE.UTF-8

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
has_test_locale() { locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; }

if [ -z "$missing" ] && has_test_locale; then
  echo "All build and test packages are installed."
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  run() { "$@"; }
elif command -v sudo >/dev/null 2>&1; then
  run() { sudo "$@"; }
else
  echo "Need root (or sudo) to install:$missing $TEST_LOCALE" >&2
  exit 1
fi

if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  run apt-get update -qq
  # shellcheck disable=SC2086
  run apt-get install -y -qq --no-install-recommends $missing
fi
has_test_locale || run localedef -i de_DE -c -f UTF-8 "$TEST_LOCALE"
