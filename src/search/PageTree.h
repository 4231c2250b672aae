#pragma once
// The visible text of a UTF-8 HTML page, internal to the search library: parses it with libgumbo
// and lays the text out into blocks as TPageText (PageText.h) describes, joined by
// kPageTextBreak, characters already folded.
#include <string>
#include <string_view>

std::u16string VisibleText(std::string_view utf8);
