#!/usr/bin/env bash
# Builds Bookshell with warnings as errors and runs every test: the unit, window and tool tests
# (window tests that need a real X server run on an Xvfb started here, sounds play through a
# PulseAudio server with a null sink started here), then each fuzz target for FUZZ_SECONDS (30 by
# default).
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
# A private sound server with a null sink, so sounds and videos play for real.
pulse_dir=$(mktemp -d)
chmod 700 "$pulse_dir"
XDG_RUNTIME_DIR=$pulse_dir pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  --load="module-null-sink sink_name=bookshell_null" --load="module-native-protocol-unix" 2>/dev/null &
pulse_pid=$!
trap 'kill "$xvfb_pid" "$pulse_pid" 2>/dev/null || true; rm -rf "$display_file" "$pulse_dir"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"
export PULSE_SERVER="unix:$pulse_dir/pulse/native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

# Real media files of old discs, fetched from Debian's packages without installing them.
bash scripts/fetch-realmedia.sh build-ci/realmedia
export BOOKSHELL_REAL_MEDIA=$PWD/build-ci/realmedia

ctest --test-dir build-ci -j2 --output-on-failure
bash fuzz/run.sh "${FUZZ_SECONDS:-30}"
