#include "rules/InterfaceDescription.h"

#include <array>
#include <limits>
#include <string_view>
#include <utility>

#include "base/Diagnostics.h"
#include "base/WinPath.h"
#include "packs/StringUtils.h"
#include "rules/KeyReader.h"

namespace {

enum class Kind { Button, SwitchOne, SwitchGrp, Html, FindTxt, Path, Clip, Text, Image, Popup, Screen, None };

constexpr std::array<std::string_view, 11> kKindWords = {
    "button", "switchone", "switchgrp", "_html", "_findtxt", "_path",
    "_clip", "_text", "_image", "_popup", "_screen"};

Kind KindOf(const std::string& line) {
    for (size_t k = 0; k < kKindWords.size(); ++k)
        if (Pos(kKindWords[k], line)) return static_cast<Kind>(k);
    return Kind::None;
}

// The line's first number minus one; the smallest integer stays as it is rather than overflow.
int32_t ScreenIndexOf(const std::string& line) {
    const int32_t n = ParseIntAt(line, 1);
    return n == std::numeric_limits<int32_t>::min() ? n : n - 1;
}

// The lines of one element and its current line, which a list key moves on.
struct Cursor {
    const TDynamicStringArray& lines;
    int& i;

    const std::string& line() const { return lines[size_t(i)]; }
    int32_t Int(std::string_view key) const { return IntKey(line(), key); }
    std::string Str(std::string_view key) const { return StringKey(line(), key); }
    uint32_t Color(std::string_view key) const { return ColorKey(line(), key); }
    bool On(std::string_view key) const { return Str(key) == "on"; }
    TDynamicStringArray List(std::string_view key) const { return ListKey(lines, i, key); }
};

template <class Rec>
void ReadRect(const Cursor& c, Rec& r) {
    r.left = c.Int("vx");
    r.top = c.Int("vy");
    r.right = c.Int("vw");
    r.bottom = c.Int("vh");
}

template <class Switch>
void ReadSwitchHead(const Cursor& c, Switch& s) {
    s.left = c.Int("vx");
    s.top = c.Int("vy");
    s.picture1 = c.Str("fn1");
    s.picture2 = c.Str("fn2");
    s.picture3 = c.Str("fn3");
    s.picture4 = c.Str("fn4");
    s.state = c.On("state");
    s.store = c.On("store");
}

RSwthOne ReadSwitchOne(const Cursor& c) {
    RSwthOne s;
    ReadSwitchHead(c, s);
    s.upCommand = SubstitutePath(c.Str("goup"));
    s.downCommand = SubstitutePath(c.Str("godown"));
    s.hint = c.Str("hint");
    s.sound = c.Str("wav");
    return s;
}

RSwthGrp ReadSwitchGrp(const Cursor& c) {
    RSwthGrp s;
    ReadSwitchHead(c, s);
    s.group = c.Int("group");
    s.command = SubstitutePath(c.Str("go"));
    s.hint = c.Str("hint");
    s.sound = c.Str("wav");
    return s;
}

RHTML ReadHtml(const Cursor& c, int32_t screen) {
    RHTML h;
    ReadRect(c, h);
    h.document = SubstitutePath(c.Str("fn"));
    h.number = c.Int("number");
    h.screen = screen;
    return h;
}

RFindTxt ReadFindTxt(const Cursor& c, int32_t screen) {
    RFindTxt f;
    ReadRect(c, f);
    f.frame = c.Str("frame");
    f.noFiles = c.List("nofiles");
    f.number = c.Int("number");
    f.screen = screen;
    f.hint = c.Str("hint");
    return f;
}

RPathInput ReadPathInput(const Cursor& c, int32_t screen) {
    RPathInput p;
    ReadRect(c, p);
    p.pathDef = c.Str("pathdef");
    p.screen = screen;
    p.hint = c.Str("hint");
    return p;
}

RClip ReadClip(const Cursor& c, int32_t screen) {
    RClip clip;
    ReadRect(c, clip);
    clip.bgColor = c.Color("bgcolor");
    clip.html = c.Int("html");
    clip.screen = screen;
    return clip;
}

RText ReadText(const Cursor& c, int32_t screen) {
    RText t;
    t.left = c.Int("vx");
    t.top = c.Int("vy");
    t.right = c.Int("vw");
    t.font = c.Str("font");
    t.size = c.Int("size");
    t.style = c.Str("style");
    t.color = c.Color("color");
    t.value = c.Str("value");
    t.ident = c.Str("ident");
    t.number = c.Int("number");
    t.screen = screen;
    return t;
}

RImage ReadImage(const Cursor& c, int32_t screen) {
    RImage im;
    ReadRect(c, im);
    im.dir = WinPath::WithBackslash(SubstitutePath(c.Str("dir")));  // a folder named with or without its "\"
    im.screen = screen;
    return im;
}

int32_t PopupType(const Cursor& c) {
    const std::string type = c.Str("type");
    if (type == "historyback") return kPopupHistoryBack;
    if (type == "historyforward") return kPopupHistoryForward;
    if (type == "favorite") return kPopupFavorite;
    if (type == "contexthtml") return kPopupContextHtml;
    return c.Int("type");
}

RPopupData ReadPopup(const Cursor& c) {
    RPopupData p;
    p.backgroundX = c.Int("xfon");
    p.backgroundY = c.Int("yfon");
    p.backgroundPicture = c.Str("fnfon");
    p.itemLeft = c.Int("xbtn");
    p.itemMargin = c.Int("ybtn");
    p.itemPicturesUp = c.List("fnbtnup");
    p.itemPicturesMove = c.List("fnbtnmove");
    p.itemPicturesDown = c.List("fnbtndown");
    p.fontUp = c.Str("fontup");
    p.sizeUp = c.Int("sizeup");
    p.styleUp = c.Str("styleup");
    p.colorUp = c.Color("colorup");
    p.fontMove = c.Str("fontmv");
    p.sizeMove = c.Int("sizemv");
    p.styleMove = c.Str("stylemv");
    p.colorMove = c.Color("colormv");
    p.captions = c.List("caption");
    p.commands = c.List("go");
    p.parent = c.Str("parent");
    p.type = PopupType(c);
    p.vertex = c.List("vertex");
    return p;
}

// Kinds kept in per-screen lists, which an element of no screen cannot join.
bool PerScreen(Kind kind) {
    return kind == Kind::Button || kind == Kind::SwitchOne || kind == Kind::SwitchGrp || kind == Kind::Popup || kind == Kind::Screen;
}

bool IsShownScreen(int32_t screen) { return screen >= 0 && screen < kMaxScreens; }

// Grows a per-screen list to hold the screen and returns the screen's entry.
template <class T>
T& Reach(std::vector<T>& perScreen, int32_t screen) {
    if (perScreen.size() <= size_t(screen)) perScreen.resize(size_t(screen) + 1);
    return perScreen[size_t(screen)];
}

}  // namespace

TInterfaceDescription ReadElements(const TDynamicStringArray& lines, const RWindowKeys& keys) {
    TInterfaceDescription d;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string& first = lines[size_t(i)];
        const Kind kind = KindOf(first);
        if (kind == Kind::None) continue;
        const int32_t screen = ScreenIndexOf(first);
        const bool shown = IsShownScreen(screen);
        if (!shown && PerScreen(kind))
            Diagnose(TDiagnosticLayer::Rules, "Struct.cfs line " + std::to_string(i + 1) + ": an element of no screen, left out");
        const Cursor c{lines, i};
        switch (kind) {
        case Kind::Button: {
            RBtn b = ReadButtonKeys(first);
            b.command = c.Str("go");
            if (shown) Reach(d.ScreenButtons, screen).push_back(b);
            break;
        }
        case Kind::SwitchOne: {
            const RSwthOne s = ReadSwitchOne(c);
            if (shown) Reach(d.ScreenSwitchesOne, screen).push_back(s);
            break;
        }
        case Kind::SwitchGrp: {
            const RSwthGrp s = ReadSwitchGrp(c);
            if (shown) Reach(d.ScreenSwitchesGrp, screen).push_back(s);
            break;
        }
        case Kind::Html: d.Htmls.push_back(ReadHtml(c, screen)); break;
        case Kind::FindTxt: d.FindTexts.push_back(ReadFindTxt(c, screen)); break;
        case Kind::Path: d.PathInputs.push_back(ReadPathInput(c, screen)); break;
        case Kind::Clip: d.Clips.push_back(ReadClip(c, screen)); break;
        case Kind::Text: d.Texts.push_back(ReadText(c, screen)); break;
        case Kind::Image: d.Images.push_back(ReadImage(c, screen)); break;
        case Kind::Popup: {
            RPopupData p = ReadPopup(c);
            if (shown) Reach(d.ScreenPopups, screen).push_back(std::move(p));
            break;
        }
        case Kind::Screen:
            if (!shown) break;
            // The value stands right after "screen=".
            Reach(d.ScreenBackgrounds, screen) = ParseStringAt(first, Pos("screen", first) + 7);
            Reach(d.ScreenButtons, screen).push_back(keys.minimize);
            Reach(d.ScreenButtons, screen).push_back(keys.close);
            Reach(d.ScreenSwitchesOne, screen);
            Reach(d.ScreenSwitchesGrp, screen);
            break;
        case Kind::None: break;
        }
    }
    return d;
}

TInterfaceDescription ReadThesaurusElements(const TDynamicStringArray& lines, const RWindowKeys& keys) {
    // Each element line is read as a line of the first screen; the lines of other kinds become
    // empty, so that list keys still run over the lines they span.
    TDynamicStringArray oneScreen = lines;
    for (std::string& line : oneScreen) {
        const Kind kind = KindOf(line);
        const bool kept = kind == Kind::Button || kind == Kind::Html || kind == Kind::FindTxt || kind == Kind::Text ||
                          kind == Kind::Screen;
        if (kind != Kind::None) line = kept ? "1 " + line : std::string();  // the first number of a line is its screen
    }
    return ReadElements(oneScreen, keys);
}
