#!/bin/sh
# Builds the Debian package of Meridal: a Release build without tests in
# build-package/, installed under /usr, packed by CPack. Prints the path of
# the package, build-package/meridal_<version>_<architecture>.deb.
set -eu
cd "$(dirname "$0")/.."
dir=build-package
./scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DMERIDAL_BUILD_TESTS=OFF >&2
rm -f "$dir"/meridal_*.deb
(cd "$dir" && cpack -G DEB >&2)
ls "$(pwd)/$dir"/meridal_*.deb
