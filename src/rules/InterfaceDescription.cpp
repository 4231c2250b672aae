#include "rules/InterfaceDescription.h"

#include <array>
#include <limits>
#include <string_view>
#include <utility>

#include "base/Diagnostics.h"
#include "packs/StringUtils.h"
#include "rules/KeyFields.h"
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

template <class Switch>
const TKeyField<Switch> kSwitchHeadFields[] = {
    {"vx", &Switch::left},        {"vy", &Switch::top},          {"fn1", &Switch::picture1}, {"fn2", &Switch::picture2},
    {"fn3", &Switch::picture3},   {"fn4", &Switch::picture4},    {"state", &Switch::state},  {"store", &Switch::store}};
const TKeyField<RSwthOne> kSwitchOneFields[] = {
    {"goup", &RSwthOne::upCommand, AsPath}, {"godown", &RSwthOne::downCommand, AsPath},
    {"hint", &RSwthOne::hint},              {"wav", &RSwthOne::sound}};
const TKeyField<RSwthGrp> kSwitchGrpFields[] = {
    {"group", &RSwthGrp::group}, {"go", &RSwthGrp::command, AsPath}, {"hint", &RSwthGrp::hint}, {"wav", &RSwthGrp::sound}};
const TKeyField<RHTML> kHtmlFields[] = {{"fn", &RHTML::document, AsPath}, {"number", &RHTML::number}};
const TKeyField<RFindTxt> kFindTxtFields[] = {
    {"frame", &RFindTxt::frame}, {"nofiles", &RFindTxt::noFiles}, {"number", &RFindTxt::number}, {"hint", &RFindTxt::hint}};
const TKeyField<RPathInput> kPathInputFields[] = {{"pathdef", &RPathInput::pathDef}, {"hint", &RPathInput::hint}};
const TKeyField<RClip> kClipFields[] = {{"bgcolor", &RClip::bgColor}, {"html", &RClip::html}};
const TKeyField<RText> kTextFields[] = {
    {"vx", &RText::left},     {"vy", &RText::top},      {"vw", &RText::right},     {"font", &RText::font},
    {"size", &RText::size},   {"style", &RText::style}, {"color", &RText::color},  {"value", &RText::value},
    {"ident", &RText::ident}, {"number", &RText::number}};
const TKeyField<RImage> kImageFields[] = {{"dir", &RImage::dir, AsFolder}};  // a folder named with or without its "\"
const TKeyField<RPopupData> kPopupFields[] = {
    {"xfon", &RPopupData::backgroundX},        {"yfon", &RPopupData::backgroundY},
    {"fnfon", &RPopupData::backgroundPicture}, {"xbtn", &RPopupData::itemLeft},
    {"ybtn", &RPopupData::itemMargin},         {"fnbtnup", &RPopupData::itemPicturesUp},
    {"fnbtnmove", &RPopupData::itemPicturesMove}, {"fnbtndown", &RPopupData::itemPicturesDown},
    {"fontup", &RPopupData::fontUp},           {"sizeup", &RPopupData::sizeUp},
    {"styleup", &RPopupData::styleUp},         {"colorup", &RPopupData::colorUp},
    {"fontmv", &RPopupData::fontMove},         {"sizemv", &RPopupData::sizeMove},
    {"stylemv", &RPopupData::styleMove},       {"colormv", &RPopupData::colorMove},
    {"caption", &RPopupData::captions},        {"go", &RPopupData::commands},
    {"parent", &RPopupData::parent}};

// A record of the fields of its tables, in their order, and its screen.
template <class Rec, std::size_t... N>
Rec ReadRecord(TKeyCursor& c, int32_t screen, const TKeyField<Rec> (&... tables)[N]) {
    Rec rec;
    (ReadFields(c, rec, tables), ...);
    if constexpr (requires { rec.screen; }) rec.screen = screen;
    return rec;
}

int32_t PopupType(TKeyCursor& c) {
    const std::string type = c.Str("type");
    if (type == "historyback") return kPopupHistoryBack;
    if (type == "historyforward") return kPopupHistoryForward;
    if (type == "favorite") return kPopupFavorite;
    if (type == "contexthtml") return kPopupContextHtml;
    return c.Int("type");
}

RPopupData ReadPopup(TKeyCursor& c) {
    RPopupData p = ReadRecord(c, 0, kPopupFields);
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
        TKeyCursor c(lines, i);
        switch (kind) {
        case Kind::Button: {
            RBtn b = ReadButtonKeys(c);
            b.command = c.Str("go");
            if (shown) Reach(d.ScreenButtons, screen).push_back(b);
            break;
        }
        case Kind::SwitchOne: {
            const auto s = ReadRecord(c, screen, kSwitchHeadFields<RSwthOne>, kSwitchOneFields);
            if (shown) Reach(d.ScreenSwitchesOne, screen).push_back(s);
            break;
        }
        case Kind::SwitchGrp: {
            const auto s = ReadRecord(c, screen, kSwitchHeadFields<RSwthGrp>, kSwitchGrpFields);
            if (shown) Reach(d.ScreenSwitchesGrp, screen).push_back(s);
            break;
        }
        case Kind::Html: d.Htmls.push_back(ReadRecord(c, screen, kRectFields<RHTML>, kHtmlFields)); break;
        case Kind::FindTxt: d.FindTexts.push_back(ReadRecord(c, screen, kRectFields<RFindTxt>, kFindTxtFields)); break;
        case Kind::Path: d.PathInputs.push_back(ReadRecord(c, screen, kRectFields<RPathInput>, kPathInputFields)); break;
        case Kind::Clip: d.Clips.push_back(ReadRecord(c, screen, kRectFields<RClip>, kClipFields)); break;
        case Kind::Text: d.Texts.push_back(ReadRecord(c, screen, kTextFields)); break;
        case Kind::Image: d.Images.push_back(ReadRecord(c, screen, kRectFields<RImage>, kImageFields)); break;
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
