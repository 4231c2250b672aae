#!/usr/bin/env bash
# Builds Bookshell with warnings as errors and runs every test: the unit, window and tool tests
# (window tests that need a real X server run on an Xvfb started here), then each fuzz target
# for FUZZ_SECONDS (30 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOOKSHELL_WERROR=ON
cmake --build build-ci -j2

# A private X server for the tests of window shapes and screen grabs.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"

ctest --test-dir build-ci -j2 --output-on-failure
bash fuzz/run.sh "${FUZZ_SECONDS:-30}"
