#pragma once
// Button sounds: a sound file played by its Windows path, asynchronously and never waiting. While
// a button sound plays a new one is dropped, as a busy wave device drops it. Each file is loaded
// once and kept for the run: uncompressed PCM through the system's sound-effect player, anything
// else (ADPCM, MP3) through a media player. PlaySoundToEnd plays the exit button's sound and
// returns when it has played (at most 10 s). Window thread only.
#include <string>

void PlayButtonSound(const std::string& file);
// Loads a sound ahead of its first play, so that the first click is heard as soon as the others.
void PreloadButtonSound(const std::string& file);
void PlaySoundToEnd(const std::string& file);
// Whether a button sound is playing now.
bool ButtonSoundPlaying();
