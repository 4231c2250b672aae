#pragma once
// The pages of the message dialog, read from its description (Dialog.cfs, decoded lower-case).
// A line is the element of the first of "_picture", "_text", "_button", "switchgrp" it holds;
// its first number minus one is its page. A "_picture" line names the page's background: the
// value stands 8 characters after "picture". The other elements read their keys in a fixed
// order, each searched in the current line and, when missing there, in the lines after it; the
// element ends with its last key and reading goes on after that line. So a key may match inside
// another value ("go" in "logo.bmp"), as the format has it.
//
// A key is looked for in the lines after the element only up to the next element line: an element
// whose keys do not all follow before it is dropped and reading resumes after its first line;
// an element of a page outside 0 … kMaxDialogPages - 1 is read past and left out.
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "rules/Elements.h"

constexpr int kMaxDialogPages = 256;

struct RDialogPage {
    std::string picture;  // background in the bundle; empty: the page cannot be shown
    RText text;           // the message area: left, top, right ("vx", "vy", "vw"), font …
    TDynamicBtnArray buttons;          // runText holds "align": "left", "middle" or other
    TDynamicSwthGrpArray switches;
};

struct TDialogDescription {
    std::vector<RDialogPage> pages;
};

TDialogDescription ReadDialogDescription(const TDynamicStringArray& lines);
