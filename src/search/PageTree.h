#pragma once
// The visible text of a UTF-8 HTML page, internal to the search library: parses it with libgumbo
// and lays the text out into blocks as TPageText (PageText.h) describes, joined by
// kPageTextBreak, characters already folded, following the page's style sheets.
#include <string>
#include <string_view>

class IPageSheets;

struct RVisibleText {
    std::u16string text;
    std::string title;  // UTF-8, white space collapsed
};

RVisibleText VisibleText(std::string_view utf8, IPageSheets* sheets);
