#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and checks each one the same way every time: first it
# replays the target's seed corpus and its saved regressions (fuzz/regressions/<target>/), every
# input once, then it explores from them for a fixed number of runs with a fixed seed. Exits
# non-zero when any input crashes, leaks, times out or trips a sanitizer; the failing input is
# left under build-fuzz/artifacts/<target>/. Long exploration with a random seed is explore.sh.
#   fuzz/run.sh [SCALE]   explores each target for its run count below times SCALE (default 1;
#                         0 only replays)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

scale=${1:-1}
if ! [[ $scale =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh [SCALE]  (a whole number; 0 only replays the seeds and regressions)" >&2
  exit 2
fi

# Exploration runs per target at SCALE 1, each about 10 s or less on a 2-core machine.
declare -A runs=(
  [fuzz_pack]=6000
  [fuzz_bundle]=4000
  [fuzz_cfs]=5000
  [fuzz_parsers]=5000
  [fuzz_image]=5000
  [fuzz_description]=2500
  [fuzz_dialog]=10000
  [fuzz_index]=50000
  [fuzz_pagetext]=2500
  [fuzz_hostpaths]=20000
  [fuzz_rar]=1000
  [fuzz_contained]=15000
  [fuzz_midi]=20000
)

build_targets
make_seeds

fixed_layout=()
if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi

started=$SECONDS
failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus-run/$target
  artifacts=$build/artifacts/$target
  rm -rf "$corpus" "$artifacts"
  mkdir -p "$artifacts"
  fill_corpus "$target" "$corpus"
  fuzz_options "$target"
  options+=(-artifact_prefix="$artifacts/")
  mapfile -t inputs < <(find "$corpus" -type f | sort)
  log=$build/$target.log
  n=$((runs[$target] * scale))

  echo "== $target: replaying ${#inputs[@]} inputs, then $n runs"
  target_started=$SECONDS
  # Given only files, libFuzzer runs each of them once and stops at the first failure.
  if [ ${#inputs[@]} -gt 0 ] && ! "$build/fuzz/$target" "${options[@]}" "${inputs[@]}" >"$build/$target-replay.log" 2>&1; then
    echo "!! $target failed on a seed or a saved regression; log: $build/$target-replay.log, input: $artifacts/"
    grep -E 'ERROR: |runtime error|SUMMARY|Running: ' "$build/$target-replay.log" | tail -n 20 || true
    failed+=("$target")
    continue
  fi
  if [ "$n" -eq 0 ]; then continue; fi
  # What differs from process to process stays out, so that a fixed seed explores the same
  # inputs every time: mutations guided by compared bytes (which take in the pid in scratch file
  # names and random temporary folders), the corpus reloaded every second, and address layout.
  # explore.sh keeps the first two.
  if "${fixed_layout[@]}" "$build/fuzz/$target" "${options[@]}" "${explore_options[@]}" -runs="$n" -seed=1 \
    -use_cmp=0 -use_memmem=0 -reload=0 -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)' "$log" || true
    echo "   $((SECONDS - target_started)) s"
  else
    echo "!! $target failed; log: $log, inputs: $artifacts/"
    grep -E 'ERROR: |runtime error|SUMMARY|Test unit written' "$log" | head -n 20 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all fuzz targets ran clean: seeds and regressions replayed, explored x$scale in $((SECONDS - started)) s"
