#pragma once
// The user's preferences kept in the settings key, loaded once at start by the options dialog
// and held in memory for the run; the rest of the program reads them here. Booleans are 0/1
// integers in the store. A value that is missing or unreadable is written with its default.
#include <array>
#include <string>

class TSettingsStore;

struct ROptions {
    bool clip = true;                      // "Clip": the start clip plays
    bool wav = true;                       // "Wav": button sounds
    bool bgSound = true;                   // "BGSound": background music
    bool animation = true;                 // "Animation": window animations
    bool hint = true;                      // "Hint": hints
    bool autoStartPlayer = true;           // "AutoStartPlayer", with the player page only
    bool playingCyclic = true;             // "PlayingCyclic", with the player page only
    std::array<std::string, 3> playLists;  // "NamePlayList1".."3", CP1251
    bool runSlideShow = false;             // "RunSlideShow", with the pictures page only
    int slideShowTime = 5;                 // "SlideShowTime", seconds 1..10
    int imageSequence = 0;                 // "ImageSequence"
    int sizeInterface = 0;                 // "SizeInterface", written by OK, never read
    int windowScale = 0;                   // "WindowScale": 0 the screen's, else 100, 150, 200 per cent
};

// The flag stored under name; when missing or unreadable the default is written and returned.
bool ReadFlag(TSettingsStore& store, const char* name, bool byDefault);
// Inverts the flag and writes the new value; a write that fails is ignored.
void ToggleFlag(TSettingsStore& store, const char* name, bool& flag);
// Loads every preference; the player's and the pictures' only when the interface has them. A
// stored slide time outside 1..10 seconds is taken as the nearest end.
ROptions LoadOptions(bool withPlayer, bool withPictures);
