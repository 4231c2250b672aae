#!/usr/bin/env bash
# Fetches the real media files the tests play, from Debian's packages, without installing them:
# Win3.x-style and MS-ADPCM WAV files and an MP3 (python-pygame-doc), a Cinepak AVI (opencv-doc),
# and format 1 MIDI songs of a game's music set (openttd-openmsx).
# Usage: scripts/fetch-realmedia.sh DEST   (skips the download when DEST already holds them)
set -euo pipefail
mkdir -p "$1"
dest=$(cd "$1" && pwd)
marker=$dest/.complete-2  # a new name whenever the set of files grows
[ -f "$marker" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download python-pygame-doc opencv-doc openttd-openmsx >/dev/null
dpkg -x python-pygame-doc_*.deb pygame
data=pygame/usr/share/doc/python-pygame-doc/examples/data
cp "$data/punch.wav" "$data/secosmic_lo.wav" "$data/house_lo.mp3" "$dest/"
dpkg --fsys-tarfile opencv-doc_*.deb | tar -x ./usr/share/doc/opencv-doc/examples/data/tree.avi
cp usr/share/doc/opencv-doc/examples/data/tree.avi "$dest/"
dpkg -x openttd-openmsx_*.deb openmsx
songs=openmsx/usr/share/games/openttd/baseset/openmsx
cp "$songs/train_filled_with_cash.mid" "$songs/coconut_run2.mid" "$songs/tttheme2.mid" "$dest/"
touch "$marker"
