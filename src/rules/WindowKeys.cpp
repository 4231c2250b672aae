#include "rules/WindowKeys.h"

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"
#include "rules/KeyFields.h"

namespace {
const TKeyField<RBtn> kButtonFields[] = {{"vx", &RBtn::left},       {"vy", &RBtn::top},     {"fn1", &RBtn::picture1},
                                         {"fn2", &RBtn::picture2}, {"fn3", &RBtn::picture3}, {"hint", &RBtn::hint},
                                         {"wav", &RBtn::sound}};
}  // namespace

RBtn ReadButtonKeys(TKeyCursor& keys) {
    RBtn b;
    ReadFields(keys, b, kButtonFields);
    return b;
}

RWindowKeys ReadWindowKeys(const TDynamicStringArray& lines) {
    RWindowKeys keys;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        int at = i;  // the line's own keys stay on it; the list keys below move i on
        TKeyCursor line(lines, at);
        if (line.Has("title")) {
            keys.title = line.Str("title");
            if (!keys.title.empty())
                keys.title[0] = static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(keys.title[0])));
        }
        if (line.Has("codec")) keys.codec = line.Str("codec");
        if (line.Has("rolic")) keys.rolic = line.Str("rolic");
        if (line.Has("helpwin")) {
            keys.helpWidth = line.Int("vw");
            keys.helpHeight = line.Int("vh");
            keys.helpFile = SubstitutePath(line.Str("fn"));
        }
        if (line.Has("background")) keys.background = line.Str("background");
        if (line.Has("icon")) keys.icon = line.Str("icon");
        if (line.Has("bgsounddef")) keys.bgSoundDef = ParseListAt(lines, i);
        if (line.Has("vertexmain")) {
            // A malformed point would leave a half-built window; keep the plain rectangle instead.
            try {
                keys.vertexMain = ParsePolygonRegion(lines, i);
                keys.vertexMainMalformed = false;
            } catch (const EConvertError&) {
                keys.vertexMain.clear();
                keys.vertexMainMalformed = true;
                Diagnose(TDiagnosticLayer::Rules, "Struct.cfs line " + std::to_string(i + 1) + ": a window shape point is no number; the window stays a rectangle");
            }
        }
        if (line.Has("minimize")) {
            keys.minimize = ReadButtonKeys(line);
            keys.minimize.command = "minimize";
        }
        if (line.Has("close")) {
            keys.close = ReadButtonKeys(line);
            keys.close.command = "exit";
        }
    }
    return keys;
}
