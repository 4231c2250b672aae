#include "rules/DialogReader.h"

#include <optional>
#include <string_view>

#include "base/Cp1251.h"
#include "packs/StringUtils.h"
#include "rules/KeyFields.h"
#include "rules/KeyReader.h"

namespace {

enum class Kind { Picture, Text, Button, Switch, None };

Kind KindOf(const std::string& line) {
    if (Pos("_picture", line)) return Kind::Picture;
    if (Pos("_text", line)) return Kind::Text;
    if (Pos("_button", line)) return Kind::Button;
    if (Pos("switchgrp", line)) return Kind::Switch;
    return Kind::None;
}

// A key may continue onto the lines after the element's, but never into another element: one
// missing there belongs to no element.
bool StartsElement(const std::string& line) { return KindOf(line) != Kind::None; }

const TKeyField<RText> kTextFields[] = {
    {"vx", &RText::left},   {"vy", &RText::top},                       {"vw", &RText::right},
    {"font", &RText::font}, {"size", &RText::size},                    {"style", &RText::style, Cp1251::asciiLower},
    {"color", &RText::color}, {"value", &RText::value}};
const TKeyField<RBtn> kButtonFields[] = {
    {"vx", &RBtn::left},         {"vy", &RBtn::top},         {"align", &RBtn::runText, Cp1251::asciiLower},
    {"fn1", &RBtn::picture1},    {"fn2", &RBtn::picture2},   {"fn3", &RBtn::picture3},
    {"go", &RBtn::command, Cp1251::asciiLower}, {"hint", &RBtn::hint}, {"wav", &RBtn::sound, Cp1251::asciiLower}};
const TKeyField<RSwthGrp> kSwitchFields[] = {
    {"vx", &RSwthGrp::left},       {"vy", &RSwthGrp::top},        {"fn1", &RSwthGrp::picture1},
    {"fn2", &RSwthGrp::picture2},  {"fn3", &RSwthGrp::picture3},  {"fn4", &RSwthGrp::picture4},
    {"state", &RSwthGrp::state, Cp1251::asciiLower}, {"store", &RSwthGrp::store, Cp1251::asciiLower},
    {"group", &RSwthGrp::group},   {"go", &RSwthGrp::command, AsLowerPath},
    {"hint", &RSwthGrp::hint},     {"wav", &RSwthGrp::sound, Cp1251::asciiLower}};

// Buttons and switches are as large as their place until their pictures are loaded.
template <class Rec>
Rec Placed(Rec r) {
    r.right = r.left;
    r.bottom = r.top;
    return r;
}

RDialogPage* PageOf(TDialogDescription& d, int page) {
    if (page < 0 || page >= kMaxDialogPages) return nullptr;
    if (size_t(page) >= d.pages.size()) d.pages.resize(size_t(page) + 1);
    return &d.pages[size_t(page)];
}

}  // namespace

TDialogDescription ReadDialogDescription(const TDynamicStringArray& lines) {
    TDialogDescription d;
    for (int i = 0; i < int(lines.size()); ++i) {
        const std::string& line = lines[size_t(i)];
        const Kind kind = KindOf(line);
        if (kind == Kind::None) continue;
        const int32_t number = ParseIntAt(line, 1);
        const int page = number > 0 ? number - 1 : -1;
        if (kind == Kind::Picture) {
            if (RDialogPage* p = PageOf(d, page)) p->picture = ParseStringAt(line, Pos("picture", line) + 8);
            continue;
        }
        int at = i;
        TKeyCursor keys(lines, at, TKeyPolicy::WalkOn, StartsElement);
        RText text;
        RBtn button;
        RSwthGrp grouped;
        if (kind == Kind::Text) ReadFields(keys, text, kTextFields);
        else if (kind == Kind::Button) ReadFields(keys, button, kButtonFields);
        else ReadFields(keys, grouped, kSwitchFields);
        if (!keys.Ok()) continue;  // a key never came: this element is dropped, the next line read
        i = at;
        RDialogPage* p = PageOf(d, page);
        if (!p) continue;
        if (kind == Kind::Text) p->text = text;
        else if (kind == Kind::Button) p->buttons.push_back(Placed(button));
        else p->switches.push_back(Placed(grouped));
    }
    return d;
}
