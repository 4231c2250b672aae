# What fuzz/run.sh and fuzz/explore.sh share: the targets and their input limits, the build of
# build-fuzz, the seed corpora and the sanitizer and allocator settings. Sourced, not run.
# Needs clang and its runtime libraries (Debian: clang, libclang-rt-14-dev), cmake, zlib, xorriso.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-fuzz
targets=(fuzz_pack fuzz_bundle fuzz_cfs fuzz_parsers fuzz_image fuzz_description fuzz_dialog fuzz_index fuzz_pagetext
         fuzz_hostpaths fuzz_rar fuzz_contained fuzz_midi)

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
  [fuzz_contained]=1024
  [fuzz_midi]=16384
)

build_targets() {
  local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  local generator=()
  if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" \
    -DBOOKSHELL_FUZZ=ON -DBOOKSHELL_GUI=OFF -DBOOKSHELL_TESTS=OFF -DBOOKSHELL_BENCH=OFF -DBOOKSHELL_SAMPLEBOOK=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
  cmake --build "$build" -j2 --target fuzz_all
}

# The seed corpora in $build/seeds/<target>, made from the source tree alone, the same every time.
make_seeds() {
  local seeds=$build/seeds
  rm -rf "$seeds"
  "$build/fuzz/make_seeds" "$seeds"
  # The sample book's descriptions, its pages, and a few index lines and paths.
  mkdir -p "$seeds/fuzz_description" "$seeds/fuzz_dialog" "$seeds/fuzz_index" "$seeds/fuzz_pagetext"
  cp "$root"/samplebook/bundle/*.cfs "$seeds/fuzz_description/"
  cp "$root"/samplebook/bundle/Dialog.cfs "$seeds/fuzz_dialog/"
  printf 'brake\r\xb8\xeb\xea\xe0\r1: 3 :1\rone.htm#:#One\r' > "$seeds/fuzz_index/seed0"
  printf 'start ~ t\\s.htm\r\xf2\xee\xf0~t\\b.htm#a\r' > "$seeds/fuzz_index/seed1"
  find "$root/samplebook/pages" -name '*.htm' -exec cp {} "$seeds/fuzz_pagetext/" \;
  local i=0 p
  mkdir -p "$seeds/fuzz_hostpaths" "$seeds/fuzz_contained"
  for p in 'run\html\index.htm' '..\..\..\etc\passwd' 'RUN/HTML/INDEX.HTM' '\run\.\html\..\html\Index.htm' 'c:\windows\x'; do
    printf '%s' "$p" > "$seeds/fuzz_hostpaths/seed$((i++))"
  done
  # Names as discs and archives hold them; "out" and "in" are the links in the target's folder.
  i=0
  for p in 'a\b.txt' '..\x' 'c:\x' 'out\etc\passwd' 'in\f' 'sub/./a//b' '\abs' $'\xcf\xe0\xef\xea\xe0/f' 'x:stream'; do
    printf '%s' "$p" > "$seeds/fuzz_contained/seed$((i++))"
  done
  # A small disc image with Joliet names, with fixed dates so that it is the same every time.
  mkdir -p "$seeds/fuzz_image"
  SOURCE_DATE_EPOCH=1000000000 xorriso -report_about FAILURE -as mkisofs -input-charset utf-8 -J -joliet-long -quiet \
    -o "$seeds/fuzz_image/loose.iso" "$root/samplebook/loose" >/dev/null 2>&1
  # Real RAR archives kept beside the checkout.
  mkdir -p "$seeds/fuzz_rar"
  if [ -d "$root/../shared/realdata/rar" ]; then cp "$root"/../shared/realdata/rar/*.rar "$seeds/fuzz_rar/"; fi
  # Small crafted inputs kept here, such as a RAR5 archive with hard links, a file copy, a
  # symbolic link and links to what is missing or outside.
  local dir
  for dir in "$root"/fuzz/seeds/*/; do
    mkdir -p "$seeds/$(basename "$dir")"
    cp "$dir"* "$seeds/$(basename "$dir")/"
  done
}

# Sanitizers stop at the first error. An allocation larger than max_allocation_size_mb fails as
# malloc fails, returning null, which the C libraries we read through (libarchive, libunarr)
# check and report as an error of their own: a damaged size field asking malloc for gigabytes is
# not a finding there. Our C++ code allocates with operator new, which still reports such a
# request. -malloc_limit_mb stays above the refusal size so that libFuzzer does not report it
# first; -rss_limit_mb catches memory that only grows.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=1:max_allocation_size_mb=1024
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp

# The options of every libFuzzer run of target, in options; explore_options has those that
# only exploring takes (replayed inputs are run whole).
fuzz_options() {
  local target=$1
  options=(-timeout=10 -malloc_limit_mb=2048 -rss_limit_mb=2560)
  explore_options=(-max_len="${max_len[$target]}")
  if [ -f "$root/fuzz/$target.dict" ]; then explore_options+=(-dict="$root/fuzz/$target.dict"); fi
}

# Fills the folder with the target's seeds and saved regressions.
fill_corpus() {
  local target=$1 corpus=$2
  mkdir -p "$corpus"
  if [ -d "$build/seeds/$target" ]; then cp -r "$build/seeds/$target/." "$corpus/"; fi
  if [ -d "$root/fuzz/regressions/$target" ]; then
    find "$root/fuzz/regressions/$target" -maxdepth 1 -type f ! -name '.*' -exec cp {} "$corpus/" \;
  fi
}
