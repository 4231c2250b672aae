#include "skin/SkinFont.h"

#include "base/Cp1251.h"
#include "platform/QtText.h"

QFont SkinFont(const std::string& name, int size, const std::string& style) {
    QFont font(ToQt(name));
    if (size > 0) font.setPointSize(size);
    const std::string lower = Cp1251::asciiLower(style);
    font.setItalic(lower.find("italic") != std::string::npos);
    font.setBold(lower.find("bold") != std::string::npos);
    font.setUnderline(lower.find("underline") != std::string::npos);
    font.setStrikeOut(lower.find("strikeout") != std::string::npos);
    return font;
}
