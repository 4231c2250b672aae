#!/usr/bin/env bash
# Fetches the real media files the tests play, from Debian's packages, without installing them:
# Win3.x-style and MS-ADPCM WAV files and an MP3 (python-pygame-doc), a Cinepak AVI (opencv-doc).
# Usage: scripts/fetch-realmedia.sh DEST   (skips the download when DEST already holds them)
set -euo pipefail
mkdir -p "$1"
dest=$(cd "$1" && pwd)
[ -f "$dest/.complete" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download python-pygame-doc opencv-doc >/dev/null
dpkg -x python-pygame-doc_*.deb pygame
data=pygame/usr/share/doc/python-pygame-doc/examples/data
cp "$data/punch.wav" "$data/secosmic_lo.wav" "$data/house_lo.mp3" "$dest/"
dpkg --fsys-tarfile opencv-doc_*.deb | tar -x ./usr/share/doc/opencv-doc/examples/data/tree.avi
cp usr/share/doc/opencv-doc/examples/data/tree.avi "$dest/"
touch "$dest/.complete"
