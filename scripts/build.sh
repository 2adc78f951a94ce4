#!/bin/sh
# Configures and builds Meridal into build/ (or the folder given as $1 with
# further CMake options after it).
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build}
[ $# -gt 0 ] && shift
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
