#!/usr/bin/env bash
# Builds Bookshell and the sample disc, then shows what the disc holds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
disc=build/samplebook/disc/run
echo "== pack $disc/interface.dat"
build/tools/bookpack/bookpack pack list --long "$disc/interface.dat"
echo "== bundle $disc/Zaz.dhl"
build/tools/bookpack/bookpack bundle list --long "$disc/Zaz.dhl"
echo "== Struct.cfs"
build/tools/bookpack/bookpack bundle extract "$disc/Zaz.dhl" -o build/samplebook/extracted >/dev/null
cat build/samplebook/extracted/Struct.cfs
