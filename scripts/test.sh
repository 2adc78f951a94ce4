#!/bin/sh
# Installs what is needed, builds Meridal and runs every test:
#  1. the whole suite in a normal build (the screenshot tests on a virtual
#     X server; test_package builds the Debian package in build-package/);
#  2. the tests labelled "sanitize" again with AddressSanitizer and UBSan;
#  3. the tests labelled "tsan" again with ThreadSanitizer.
# Exits non-zero as soon as any test fails.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

./scripts/build.sh build
ctest --test-dir build --output-on-failure -j2

sanitized_run() { # <build dir> <label> <sanitizers>
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMERIDAL_SANITIZE="$3" >/dev/null
  cmake --build "$1" --target "$2_tests"
  ctest --test-dir "$1" --output-on-failure -j2 -L "$2"
}

sanitized_run build-asan sanitize address,undefined
TSAN_OPTIONS="suppressions=$(pwd)/tests/tsan.supp halt_on_error=1 second_deadlock_stack=1" \
  sanitized_run build-tsan tsan thread
