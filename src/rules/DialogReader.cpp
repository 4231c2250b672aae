#include "rules/DialogReader.h"

#include <optional>
#include <string_view>

#include "base/Cp1251.h"
#include "packs/StringUtils.h"

namespace {

enum class Kind { Picture, Text, Button, Switch, None };

Kind KindOf(const std::string& line) {
    if (Pos("_picture", line)) return Kind::Picture;
    if (Pos("_text", line)) return Kind::Text;
    if (Pos("_button", line)) return Kind::Button;
    if (Pos("switchgrp", line)) return Kind::Switch;
    return Kind::None;
}

// Finds the keys of one element in order, moving down the lines as a key is missing.
class TKeyWalk {
public:
    TKeyWalk(const TDynamicStringArray& lines, int first) : lines_(lines), line_(first) {}

    int Line() const { return line_; }
    bool Ok() const { return ok_; }

    int32_t Int(std::string_view key) { return Find(key) ? ParseIntAt(Current(), at_) : 0; }
    std::string Str(std::string_view key) {
        return Find(key) ? ParseStringAt(Current(), at_ + int(key.size()) + 1) : std::string();
    }
    std::string Lower(std::string_view key) { return Cp1251::asciiLower(Str(key)); }
    uint32_t Color(std::string_view key) { return Find(key) ? ParseColorAt(Current(), at_ + int(key.size()) + 1) : 0; }

private:
    const std::string& Current() const { return lines_[size_t(line_)]; }
    bool Find(std::string_view key) {
        if (!ok_) return false;
        // A key may continue onto the lines after the element's, but never into another element:
        // one missing there belongs to no element.
        for (int i = line_; i < int(lines_.size()) && (i == line_ || KindOf(lines_[size_t(i)]) == Kind::None); ++i)
            if (const int p = Pos(key, lines_[size_t(i)])) {
                line_ = i;
                at_ = p;
                return true;
            }
        ok_ = false;
        return false;
    }

    const TDynamicStringArray& lines_;
    int line_;
    int at_ = 0;
    bool ok_ = true;
};

RText ReadText(TKeyWalk& k) {
    RText t;
    t.left = k.Int("vx");
    t.top = k.Int("vy");
    t.right = k.Int("vw");
    t.font = k.Str("font");
    t.size = k.Int("size");
    t.style = k.Lower("style");
    t.color = k.Color("color");
    t.value = k.Str("value");
    return t;
}

RBtn ReadButton(TKeyWalk& k) {
    RBtn b;
    b.left = k.Int("vx");
    b.top = k.Int("vy");
    b.runText = k.Lower("align");
    b.picture1 = k.Str("fn1");
    b.picture2 = k.Str("fn2");
    b.picture3 = k.Str("fn3");
    b.command = k.Lower("go");
    b.hint = k.Str("hint");
    b.sound = k.Lower("wav");
    b.right = b.left;
    b.bottom = b.top;
    return b;
}

RSwthGrp ReadSwitch(TKeyWalk& k) {
    RSwthGrp s;
    s.left = k.Int("vx");
    s.top = k.Int("vy");
    s.picture1 = k.Str("fn1");
    s.picture2 = k.Str("fn2");
    s.picture3 = k.Str("fn3");
    s.picture4 = k.Str("fn4");
    s.state = k.Lower("state") == "on";
    s.store = k.Lower("store") == "on";
    s.group = k.Int("group");
    s.command = Cp1251::asciiLower(SubstitutePath(k.Str("go")));
    s.hint = k.Str("hint");
    s.sound = k.Lower("wav");
    s.right = s.left;
    s.bottom = s.top;
    return s;
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
        TKeyWalk keys(lines, i);
        RText text;
        RBtn button;
        RSwthGrp grouped;
        if (kind == Kind::Text) text = ReadText(keys);
        else if (kind == Kind::Button) button = ReadButton(keys);
        else grouped = ReadSwitch(keys);
        if (!keys.Ok()) continue;  // a key never came: this element is dropped, the next line read
        i = keys.Line();
        RDialogPage* p = PageOf(d, page);
        if (!p) continue;
        if (kind == Kind::Text) p->text = text;
        else if (kind == Kind::Button) p->buttons.push_back(button);
        else p->switches.push_back(grouped);
    }
    return d;
}
