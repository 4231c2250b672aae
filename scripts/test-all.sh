#!/usr/bin/env bash
# Builds Bookshell with warnings as errors and runs every test: the unit, window and tool tests
# (window tests that need a real X server run on an Xvfb started here, those of a Wayland session
# on a headless weston started here, sounds play through a
# PulseAudio server with a null sink started here, pages print on a CUPS PDF printer set up
# here), then each fuzz target: its seeds and saved regressions replayed, then a fixed number of
# runs (times FUZZ_SCALE, 1 by default) from a fixed seed, so the result never depends on chance.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOOKSHELL_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr
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
# A Wayland compositor without a screen, for the window tests of a Wayland session.
wayland_dir=$(mktemp -d)
chmod 700 "$wayland_dir"
XDG_RUNTIME_DIR=$wayland_dir weston --backend=headless-backend.so --socket=bookshell-wayland --width=1280 --height=1024 \
  --no-config >/dev/null 2>&1 &
weston_pid=$!
# A print server with a PDF printer for the printing tests, made the default printer while they
# run. The printer writes into a folder of its own (under its spool, where its confinement lets
# it write), which the tests read back through BOOKSHELL_PRINT_OUT.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
cups_running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }
cups_pid=""
if ! cups_running; then
  $sudo /usr/sbin/cupsd -f &
  cups_pid=$!
fi
for _ in $(seq 100); do cups_running && break; sleep 0.1; done
old_default=$(LC_ALL=C lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
print_out=$($sudo mktemp -d -p /var/spool/cups-pdf bookshell.XXXXXX)
$sudo chmod 777 "$print_out"
printf 'Out %s\nAnonDirName %s\n' "$print_out" "$print_out" | $sudo tee /etc/cups/cups-pdf-bookshell.conf >/dev/null
$sudo lpadmin -p BookshellPDF -E -v cups-pdf:/bookshell -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
$sudo lpadmin -d BookshellPDF
export BOOKSHELL_PRINT_OUT=$print_out
stop_print_server() {
  $sudo lpadmin -x BookshellPDF 2>/dev/null || true
  [ -z "$old_default" ] || $sudo lpadmin -d "$old_default" 2>/dev/null || true
  $sudo rm -rf /etc/cups/cups-pdf-bookshell.conf "$print_out"
  [ -z "$cups_pid" ] || $sudo kill "$cups_pid" 2>/dev/null || true
}
trap 'kill "$xvfb_pid" "$pulse_pid" "$weston_pid" 2>/dev/null || true; rm -rf "$display_file" "$pulse_dir" "$wayland_dir"; stop_print_server' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"
export PULSE_SERVER="unix:$pulse_dir/pulse/native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
for _ in $(seq 100); do [ -S "$wayland_dir/bookshell-wayland" ] && break; sleep 0.1; done
export BOOKSHELL_WAYLAND_DISPLAY=$wayland_dir/bookshell-wayland

# Real media files of old discs, fetched from Debian's packages without installing them.
bash scripts/fetch-realmedia.sh build-ci/realmedia
export BOOKSHELL_REAL_MEDIA=$PWD/build-ci/realmedia

ctest --test-dir build-ci -j2 --output-on-failure
bash scripts/test-package.sh build-ci
bash fuzz/run.sh "${FUZZ_SCALE:-1}"
