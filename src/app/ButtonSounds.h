#pragma once
// The sounds of skin buttons: short files played by name, each on its own effect. A sound that
// cannot be played is simply not heard.
#include <string>

class QObject;

// Plays asynchronously; the effect belongs to owner until it ends.
void PlayButtonSound(QObject* owner, const std::string& file);
// Plays and waits for the end, at most five seconds (the exit button's sound before shutdown).
void PlaySoundToEnd(const std::string& file);
