#pragma once
// The elements of the interface description (its second pass). Each line is the element of the
// first kind word it contains, tested in the order button, switchone, switchgrp, _html,
// _findtxt, _path, _clip, _text, _image, _popup, _screen; a line without one is skipped. The
// first number of the line, minus one, is its screen index, so "2button" and "button2" belong to
// index 1 and a line without a number to index -2. A list key may run over following lines: the
// element's later keys are then read from the line where the list ended, and reading goes on
// after it.
//
// Buttons, switches and popups are kept per screen and the flat kinds carry their screen index.
// A "_screen" line gives its screen the background picture and copies of the minimize and close
// buttons, minimize first. Each per-screen list grows to the highest index of its own kinds, so
// the lists may differ in length and a screen may have an empty list.
//
// Screen indexes outside 0 .. kMaxScreens - 1 (a line without a number, a negative or an absurdly
// large number) name no screen that can be shown: such an element is still read, so that its
// lists move the line on, but it is left out of the per-screen lists and a "_screen" line of it
// has no effect. Flat records keep the index as read. This bounds the lists whatever the file says.
#include <cstdint>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "rules/Elements.h"
#include "rules/WindowKeys.h"

constexpr int32_t kMaxScreens = 256;

struct TInterfaceDescription {
    std::vector<TDynamicBtnArray> ScreenButtons;
    std::vector<TDynamicSwthOneArray> ScreenSwitchesOne;
    std::vector<TDynamicSwthGrpArray> ScreenSwitchesGrp;
    std::vector<std::vector<RPopupData>> ScreenPopups;
    std::vector<std::string> ScreenBackgrounds;  // bundle name of each screen's background
    std::vector<RHTML> Htmls;
    std::vector<RFindTxt> FindTexts;
    std::vector<RPathInput> PathInputs;
    std::vector<RClip> Clips;
    std::vector<RText> Texts;
    std::vector<RImage> Images;
};

// Reads every element of the lines; keys supplies the minimize and close buttons.
TInterfaceDescription ReadElements(const TDynamicStringArray& lines, const RWindowKeys& keys);

// The thesaurus window's description: one screen (index 0) whatever numbers its lines hold, with
// buttons, page views, find boxes, text labels and its "_screen" line; other kinds are left out.
TInterfaceDescription ReadThesaurusElements(const TDynamicStringArray& lines, const RWindowKeys& keys);
