#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on a fresh copy of its
# seed corpus (plus the saved regressions). Exits non-zero when any target finds a crash, a
# leak, a timeout or a sanitizer error; the failing input is left under build-fuzz/artifacts/.
#   fuzz/run.sh [SECONDS_PER_TARGET]   (default 30)
# Needs clang and its runtime libraries (Debian: clang, libclang-rt-14-dev), cmake, zlib.
set -euo pipefail

per_target=${1:-30}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-fuzz
targets=(fuzz_pack fuzz_bundle fuzz_cfs fuzz_parsers fuzz_image fuzz_description fuzz_dialog fuzz_index fuzz_pagetext fuzz_hostpaths fuzz_rar)

declare -A max_len=(
  [fuzz_pack]=1048576
  [fuzz_bundle]=65536
  [fuzz_cfs]=65536
  [fuzz_parsers]=4096
  [fuzz_image]=524288
  [fuzz_description]=16384
  [fuzz_dialog]=16384
  [fuzz_index]=16384
  [fuzz_pagetext]=65536
  [fuzz_hostpaths]=1024
  [fuzz_rar]=65536
)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" \
  -DBOOKSHELL_FUZZ=ON -DBOOKSHELL_GUI=OFF -DBOOKSHELL_TESTS=OFF -DBOOKSHELL_BENCH=OFF -DBOOKSHELL_SAMPLEBOOK=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags"
cmake --build "$build" -j2 --target fuzz_all

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp

rm -rf "$build/seeds"
"$build/fuzz/make_seeds" "$build/seeds"
# The sample book's descriptions, and a few paths such as pages and links hold.
mkdir -p "$build/seeds/fuzz_description" "$build/seeds/fuzz_dialog" "$build/seeds/fuzz_hostpaths"
cp "$root"/samplebook/bundle/*.cfs "$build/seeds/fuzz_description/"
cp "$root"/samplebook/bundle/Dialog.cfs "$build/seeds/fuzz_dialog/"
mkdir -p "$build/seeds/fuzz_index" "$build/seeds/fuzz_pagetext"
printf 'brake\r\xb8\xeb\xea\xe0\r1: 3 :1\rone.htm#:#One\r' > "$build/seeds/fuzz_index/seed0"
printf 'start ~ t\\s.htm\r\xf2\xee\xf0~t\\b.htm#a\r' > "$build/seeds/fuzz_index/seed1"
find "$root/samplebook/pages" -name '*.htm' -exec cp {} "$build/seeds/fuzz_pagetext/" \;
i=0
for p in 'run\html\index.htm' '..\..\..\etc\passwd' 'RUN/HTML/INDEX.HTM' '\run\.\html\..\html\Index.htm' 'c:\windows\x'; do
  printf '%s' "$p" > "$build/seeds/fuzz_hostpaths/seed$((i++))"
done
# Disc images: a small one with Joliet names made here, and the sample disc's image when a
# build wrote it (its directories lie in its first blocks, which max_len keeps).
mkdir -p "$build/seeds/fuzz_image"
xorriso -report_about FAILURE -as mkisofs -input-charset utf-8 -J -joliet-long -quiet \
  -o "$build/seeds/fuzz_image/loose.iso" "$root/samplebook/loose" >/dev/null 2>&1
for tree in build-ci build; do
  if [ -f "$root/$tree/samplebook/sample.iso" ]; then
    head -c 524288 "$root/$tree/samplebook/sample.iso" > "$build/seeds/fuzz_image/sample-head.iso"
    break
  fi
done
# Real RAR archives kept beside the checkout.
mkdir -p "$build/seeds/fuzz_rar"
if [ -d "$root/../shared/realdata/rar" ]; then cp "$root"/../shared/realdata/rar/*.rar "$build/seeds/fuzz_rar/"; fi

failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  rm -rf "$corpus" "$artifacts"
  mkdir -p "$corpus" "$artifacts"
  if [ -d "$build/seeds/$target" ]; then cp -r "$build/seeds/$target/." "$corpus/"; fi
  if [ -d "$root/fuzz/regressions/$target" ]; then
    find "$root/fuzz/regressions/$target" -maxdepth 1 -type f ! -name '.*' -exec cp {} "$corpus/" \;
  fi
  options=(-max_total_time="$per_target" -timeout=10 -rss_limit_mb=2048
           -max_len="${max_len[$target]}" -print_final_stats=1 -artifact_prefix="$artifacts/")
  if [ -f "$root/fuzz/$target.dict" ]; then options+=(-dict="$root/fuzz/$target.dict"); fi

  echo "== $target: ${per_target}s, corpus of $(find "$corpus" -type f | wc -l) inputs"
  if "$build/fuzz/$target" "${options[@]}" "$corpus" >"$build/$target.log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)' "$build/$target.log" || true
  else
    echo "!! $target failed; log: $build/$target.log, inputs: $artifacts/"
    grep -E 'ERROR: |runtime error|SUMMARY|Test unit written' "$build/$target.log" | head -n 20 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all fuzz targets ran clean for ${per_target}s each"
