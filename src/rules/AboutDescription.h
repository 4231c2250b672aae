#pragma once
// The about window's description (About.cfs, decoded lower-case): its background picture and
// outline, buttons with a normal and a hover picture, and texts drawn onto the background, of
// which those whose "idenf" is "url" are also links.
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "packs/StringUtils.h"
#include "rules/Elements.h"

struct RAboutDescription {
    std::string picture;
    std::vector<TPoint> vertex;  // empty: the window stays a rectangle
    std::vector<RBtn> buttons;   // picture1 normal, picture2 hover; sound lower-cased
    std::vector<RText> texts;    // style and ident ("idenf") lower-cased
};

RAboutDescription ReadAboutDescription(const TDynamicStringArray& lines);

// What a "url" text opens and what it shows: a text with "@" is a mail address ("mailto:" and
// the whole text); the text shown stops before a "?".
struct RAboutLink {
    std::string target;
    std::string shown;
};
RAboutLink AboutLink(const std::string& text);
