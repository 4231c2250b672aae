#!/usr/bin/env bash
# Builds Bookshell and the sample disc, then opens the sample book. Extra arguments go to the
# program (for example --drive e).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
exec build/src/bookshell --disc build/samplebook/disc/run "$@"
