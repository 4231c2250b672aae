#pragma once
// The font of a skin text: a font name, a size in points (0 or less keeps the default) and style
// words; the text is italic, bold, underlined or struck out when the style holds "italic",
// "bold", "underline" or "strikeout", in any letter case.
#include <QFont>

#include <string>

QFont SkinFont(const std::string& name, int size, const std::string& style);
