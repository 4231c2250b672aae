#pragma once
// The window keys of the interface description (its first pass): title, start clip, help
// window, icon, background sounds, the window's shape and its minimize and close buttons.
#include <vector>

#include "base/DynamicStringArray.h"
#include "packs/StringUtils.h"
#include "rules/Elements.h"
#include "rules/KeyReader.h"

struct RWindowKeys {
    std::string title;       // with its first character upper-cased
    std::string codec;
    std::string rolic;
    std::string helpFile;    // "helpwin" fn, through SubstitutePath
    int32_t helpWidth = 0;   // read, without effect
    int32_t helpHeight = 0;
    std::string background;
    std::string icon;
    TDynamicStringArray bgSoundDef;
    std::vector<TPoint> vertexMain;
    bool vertexMainMalformed = false;  // a point that is not a number: the shape is not applied
    RBtn minimize;                      // command "minimize"
    RBtn close;                         // command "exit"
};

// Reads the ten window keys from every line in file order; a later line overwrites an earlier.
RWindowKeys ReadWindowKeys(const TDynamicStringArray& lines);

// Reads the button keys vx, vy, fn1, fn2, fn3, hint and wav.
RBtn ReadButtonKeys(TKeyCursor& keys);
