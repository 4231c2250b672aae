#!/usr/bin/env bash
# Start-up to the first paint under a headless weston against Xvfb, in one run: starts both
# servers, runs build/bench/session_bench in each session in turn, ROUNDS times (3 by default),
# and prints each round's mean times and their ratio.
#   bench/session_ratio.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
bench=build/bench/session_bench
work=$(mktemp -d)
chmod 700 "$work"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
XDG_RUNTIME_DIR=$work weston --backend=headless-backend.so --socket=bench-wayland --width=1280 --height=1024 --no-config \
  >/dev/null 2>&1 &
weston=$!
trap 'kill $xvfb $weston 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && [ -S "$work/bench-wayland" ] && break; sleep 0.1; done
mean() { sed -n 's/^BM_SessionStartupToFirstPaint\/iterations:[0-9]* *\([0-9.]*\) ms.*/\1/p' | head -n 1; }
for round in $(seq "$rounds"); do
  x11=$(DISPLAY=":$(cat "$work/display")" BOOKSHELL_SESSION=x11 "$bench" 2>/dev/null | mean)
  wayland=$(BOOKSHELL_SESSION=wayland BOOKSHELL_WAYLAND_DISPLAY="$work/bench-wayland" "$bench" 2>/dev/null | mean)
  echo "round $round: Xvfb $x11 ms, weston $wayland ms, weston/Xvfb $(echo "scale=2; $wayland / $x11" | bc)"
done
