#pragma once
// Button sounds: a sound file played by its Windows path, asynchronously and never waiting. While
// a button sound plays a new one is dropped, as a busy wave device drops it. Each file (PCM,
// ADPCM, MP3 …) is decoded once, in the background from the event loop, and kept for the run; a
// click on a sound still decoding is heard once it is ready, if that is soon. All play through one audio output
// that stays open from the first sound on, so a click is heard within the output's buffer of
// 20 ms. Without an audio output nothing is heard. PlaySoundToEnd plays the exit button's sound
// and returns when it has played (at most 10 s). Window thread only.
#include <string>

void PlayButtonSound(const std::string& file);
// Starts decoding a sound ahead of its first play, so that the first click is heard as soon as
// the others; returns at once.
void PreloadButtonSound(const std::string& file);
void PlaySoundToEnd(const std::string& file);
// Whether a button sound is playing now.
bool ButtonSoundPlaying();
