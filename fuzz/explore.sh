#!/usr/bin/env bash
# Explores fuzz targets at length: each for SECONDS with a random seed, growing a corpus that is
# kept between runs in build-fuzz/corpus/<target> (the seeds and the saved regressions are added
# each time). Exploration goes on past a finding; each failing input is left in
# build-fuzz/explore-artifacts/<target>/. Reports the runs, new units and findings per target and
# exits non-zero when there were findings. Save an input worth keeping under
# fuzz/regressions/<target>/ with a name that says what it does; fuzz/run.sh replays it from then on.
#   fuzz/explore.sh SECONDS [TARGET...]   (every target when none is named)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/explore.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
chosen=("$@")
if [ ${#chosen[@]} -eq 0 ]; then chosen=("${targets[@]}"); fi
for target in "${chosen[@]}"; do
  if [ -z "${max_len[$target]:-}" ]; then
    echo "unknown target: $target (known: ${targets[*]})" >&2
    exit 2
  fi
done

build_targets
make_seeds
# The sample disc's image, when a build of the program wrote it (its directories lie in its first
# blocks, which max_len keeps). It depends on that build, so only exploration uses it.
if [[ " ${chosen[*]} " == *" fuzz_image "* ]]; then
  for tree in build-ci build; do
    if [ -f "$root/$tree/samplebook/sample.iso" ]; then
      head -c 524288 "$root/$tree/samplebook/sample.iso" > "$build/seeds/fuzz_image/sample-head.iso"
      break
    fi
  done
fi

report=()
found=0
for target in "${chosen[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/explore-artifacts/$target
  mkdir -p "$artifacts"
  fill_corpus "$target" "$corpus"
  before=$(find "$corpus" -type f | wc -l)
  marker=$(mktemp)
  fuzz_options "$target"
  # One worker process that is restarted after a crash, leak, timeout or running out of memory.
  options+=("${explore_options[@]}" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -max_total_time="$seconds"
            -artifact_prefix="$artifacts/")
  log=$build/explore-$target.log
  echo "== $target: ${seconds}s from $before inputs"
  "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1 || true
  runs=$(grep -oE '^#[0-9]+: ' "$log" | tail -n 1 | tr -dc '0-9')
  new=$(($(find "$corpus" -type f | wc -l) - before))
  mapfile -t made < <(find "$artifacts" -type f -newer "$marker" | sort)
  rm -f "$marker"
  findings=${#made[@]}
  found=$((found + findings))
  report+=("$(printf '%-18s runs %10s   new units %6d   findings %3d' "$target" "${runs:-?}" "$new" "$findings")")
  if [ "$findings" -gt 0 ]; then
    printf '   %s\n' "${made[@]:0:10}"
    echo "   replay one with: (source fuzz/common.sh; $build/fuzz/$target INPUT)   log: $log"
  fi
done

printf '%s\n' "${report[@]}"
if [ "$found" -gt 0 ]; then
  echo "$found findings"
  exit 1
fi
