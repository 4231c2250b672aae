#include "rules/AboutDescription.h"

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "rules/KeyFields.h"
#include "rules/KeyReader.h"
#include "rules/WindowKeys.h"

namespace {

const TKeyField<RText> kTextFields[] = {
    {"vx", &RText::left},   {"vy", &RText::top},      {"font", &RText::font},  {"size", &RText::size},
    {"style", &RText::style, Cp1251::lower}, {"color", &RText::color}, {"value", &RText::value},
    {"idenf", &RText::ident, Cp1251::lower}};

}  // namespace

RAboutDescription ReadAboutDescription(const TDynamicStringArray& lines) {
    RAboutDescription about;
    for (int i = 0; i < int(lines.size()); ++i) {
        int at = i;  // the line's own keys stay on it; the vertex list moves i on
        TKeyCursor line(lines, at);
        if (line.Has("button")) {
            RBtn button = ReadButtonKeys(line);
            button.sound = Cp1251::lower(button.sound);
            about.buttons.push_back(button);
        } else if (line.Has("text")) {
            RText text;
            ReadFields(line, text, kTextFields);
            about.texts.push_back(text);
        } else {
            if (line.Has("picture")) about.picture = line.Str("picture");
            if (line.Has("vertex")) {
                try {
                    about.vertex = ParsePolygonRegion(lines, i);
                } catch (const EConvertError&) {
                    about.vertex.clear();  // a malformed outline leaves the plain rectangle
                }
            }
        }
    }
    return about;
}

RAboutLink AboutLink(const std::string& text) {
    RAboutLink link;
    link.target = text.find('@') != std::string::npos ? "mailto:" + text : text;
    link.shown = text.substr(0, text.find('?'));
    return link;
}
