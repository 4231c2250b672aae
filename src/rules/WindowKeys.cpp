#include "rules/WindowKeys.h"

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"

RBtn ReadButtonKeys(const std::string& line) {
    RBtn b;
    b.left = IntKey(line, "vx");
    b.top = IntKey(line, "vy");
    b.picture1 = StringKey(line, "fn1");
    b.picture2 = StringKey(line, "fn2");
    b.picture3 = StringKey(line, "fn3");
    b.hint = StringKey(line, "hint");
    b.sound = StringKey(line, "wav");
    return b;
}

RWindowKeys ReadWindowKeys(const TDynamicStringArray& lines) {
    RWindowKeys keys;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string line = lines[size_t(i)];  // list keys below may move i on
        if (Pos("title", line)) {
            keys.title = StringKey(line, "title");
            if (!keys.title.empty())
                keys.title[0] = static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(keys.title[0])));
        }
        if (Pos("codec", line)) keys.codec = StringKey(line, "codec");
        if (Pos("rolic", line)) keys.rolic = StringKey(line, "rolic");
        if (Pos("helpwin", line)) {
            keys.helpWidth = IntKey(line, "vw");
            keys.helpHeight = IntKey(line, "vh");
            keys.helpFile = SubstitutePath(StringKey(line, "fn"));
        }
        if (Pos("background", line)) keys.background = StringKey(line, "background");
        if (Pos("icon", line)) keys.icon = StringKey(line, "icon");
        if (Pos("bgsounddef", line)) keys.bgSoundDef = ParseListAt(lines, i);
        if (Pos("vertexmain", line)) {
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
        if (Pos("minimize", line)) {
            keys.minimize = ReadButtonKeys(line);
            keys.minimize.command = "minimize";
        }
        if (Pos("close", line)) {
            keys.close = ReadButtonKeys(line);
            keys.close.command = "exit";
        }
    }
    return keys;
}
