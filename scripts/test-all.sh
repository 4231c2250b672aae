#!/usr/bin/env bash
# Builds Bookshell with warnings as errors and runs every test: the unit and tool tests, then
# each fuzz target for FUZZ_SECONDS (30 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOOKSHELL_WERROR=ON
cmake --build build-ci -j2
ctest --test-dir build-ci -j2 --output-on-failure
bash fuzz/run.sh "${FUZZ_SECONDS:-30}"
