#include "rules/AboutDescription.h"

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "rules/KeyReader.h"
#include "rules/WindowKeys.h"

namespace {

RText ReadText(const std::string& line) {
    RText t;
    t.left = IntKey(line, "vx");
    t.top = IntKey(line, "vy");
    t.font = StringKey(line, "font");
    t.size = IntKey(line, "size");
    t.style = Cp1251::lower(StringKey(line, "style"));
    t.color = ColorKey(line, "color");
    t.value = StringKey(line, "value");
    t.ident = Cp1251::lower(StringKey(line, "idenf"));
    return t;
}

}  // namespace

RAboutDescription ReadAboutDescription(const TDynamicStringArray& lines) {
    RAboutDescription about;
    for (int i = 0; i < int(lines.size()); ++i) {
        const std::string line = lines[size_t(i)];  // the vertex list may move i on
        if (Pos("button", line)) {
            RBtn button = ReadButtonKeys(line);
            button.sound = Cp1251::lower(button.sound);
            about.buttons.push_back(button);
        } else if (Pos("text", line)) {
            about.texts.push_back(ReadText(line));
        } else {
            if (Pos("picture", line)) about.picture = StringKey(line, "picture");
            if (Pos("vertex", line)) {
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
