// The skin screen's answers to the pointer, and the presses and replays the program makes itself.
#include "skin/SkinScreen.h"

#include "effects/EffBtnCar.h"
#include "skin/SkinKinds.h"

using namespace SkinKinds;

namespace {

// Hover in and out over the elements of one kind; false when a switch bound to the hidden
// trees stops the scan, so that nothing after it reacts either.
template <class Element, class Pic, class Change>
bool hoverAt(std::vector<Element>* list, std::vector<Pic>& pics, QPoint point, bool treesHidden, Change change) {
    using Kind = TSkinKind<Element>;
    for (size_t i = 0; list && i < list->size() && i < pics.size(); ++i) {
        Element& e = (*list)[i];
        Pic& pic = pics[i];
        bool& hover = Kind::Hover(e, pic);
        const bool in = inside(e, point);
        if (in == hover) continue;
        if (in && Kind::BoundToTree(e) && treesHidden) return false;
        change(pic, pic.pictures[Kind::Look(e, hover)], pic.pictures[Kind::Look(e, in)], cornerOf(e));
        hover = in;
        if (!in) Kind::Leave(pic);
    }
    return true;
}

} // namespace

void TSkinScreen::PointerMove(QPoint point) {
    if (!FadesAllowed()) return;
    const bool treesHidden = host_.treesHidden && host_.treesHidden();
    auto change = [this](auto& pic, const QImage& from, const QImage& to, QPoint at) {
        ChangeLook(pic.fader, pic.shown, from, to, at);
    };
    hoverAt(listAt(elements_.ScreenButtons, current_), buttonPics_, point, treesHidden, change) &&
        hoverAt(listAt(elements_.ScreenSwitchesOne, current_), onePics_, point, treesHidden, change) &&
        hoverAt(listAt(elements_.ScreenSwitchesGrp, current_), grpPics_, point, treesHidden, change);
}

// The first element under the point takes the press: a button shows it is held (its command
// waits for the release), a single switch flips, a grouped switch that is off goes on and puts
// out the others of its group.
RSkinPress TSkinScreen::PointerDown(QPoint point, bool silent) {
    if (!FadesAllowed()) return {};
    auto* buttons = listAt(elements_.ScreenButtons, current_);
    for (size_t i = 0; buttons && i < buttons->size() && i < buttonPics_.size(); ++i) {
        RBtnPic& pic = buttonPics_[i];
        if (!inside((*buttons)[i], point) || pic.pressed) continue;
        ChangeLook(pic.fader, pic.shown, pic.pictures[1], pic.pictures[2], cornerOf((*buttons)[i]));
        pic.pressed = true;
        return {};
    }
    auto* ones = listAt(elements_.ScreenSwitchesOne, current_);
    for (size_t i = 0; ones && i < ones->size() && i < onePics_.size(); ++i) {
        RSwthOne& s = (*ones)[i];
        if (!inside(s, point)) continue;
        if (TSkinKind<RSwthOne>::BoundToTree(s) && host_.treesHidden && host_.treesHidden()) return {};
        RSwthPic& pic = onePics_[i];
        ChangeLook(pic.fader, pic.shown, pic.pictures[s.state ? 2 : 1], pic.pictures[s.state ? 1 : 2], cornerOf(s));
        s.state = !s.state;
        if (silent) return {};
        return {RSkinCommand{s.state ? s.downCommand : s.upCommand, s.sound, int(i), ekSwitchOne}};
    }
    auto* groups = listAt(elements_.ScreenSwitchesGrp, current_);
    for (size_t i = 0; groups && i < groups->size() && i < grpPics_.size(); ++i) {
        RSwthGrp& s = (*groups)[i];
        if (!inside(s, point)) continue;
        if (s.state) return {};
        ChangeLook(nullptr, grpPics_[i].shown, {}, grpPics_[i].pictures[silent ? 3 : 2], cornerOf(s));
        forEach(groups, grpPics_, [&](RSwthGrp& other, RSwthPic& pic, size_t k) {
            if (k == i || other.group != s.group || !other.state) return;
            ChangeLook(nullptr, pic.shown, {}, pic.pictures[0], cornerOf(other));
            other.state = false;
        });
        s.state = true;
        if (silent) return {};
        return {RSkinCommand{s.command, s.sound, int(i), ekSwitchGrp}};
    }
    return {std::nullopt, true};
}

// Every button under the point: one that was pressed sends its command (a command that leaves
// the screen keeps the pressed look), one pressed elsewhere goes back to normal. Grouped switches
// under the point show the hover look of their new state.
std::vector<RSkinCommand> TSkinScreen::PointerUp(QPoint point) {
    if (!FadesAllowed()) return {};
    std::vector<RSkinCommand> commands;
    forEach(listAt(elements_.ScreenButtons, current_), buttonPics_, [&](const RBtn& b, RBtnPic& pic, size_t i) {
        if (!inside(b, point)) return;
        if (!pic.pressed) return ChangeLook(pic.fader, pic.shown, pic.pictures[2], pic.pictures[0], cornerOf(b));
        pic.pressed = false;
        const bool leaves = b.command.rfind("screen2", 0) == 0 || b.command == "1" || b.command.rfind("exit", 0) == 0;
        if (!leaves) ChangeLook(pic.fader, pic.shown, pic.pictures[2], pic.pictures[1], cornerOf(b));
        commands.push_back({b.command, b.sound, int(i), ekButton});
    });
    auto* groups = listAt(elements_.ScreenSwitchesGrp, current_);
    for (size_t i = 0; groups && i < groups->size(); ++i)
        if (inside((*groups)[i], point)) {
            (*groups)[i].hover = false;
            PointerMove(point);
        }
    return commands;
}

std::optional<QPoint> TSkinScreen::ClickPoint(int kind, int index) const {
    auto at = [index](const auto* list) -> std::optional<QPoint> {
        if (!list || index < 0 || size_t(index) >= list->size()) return std::nullopt;
        return cornerOf((*list)[size_t(index)]) + QPoint(1, 1);
    };
    if (kind == ekButton) return at(listAt(elements_.ScreenButtons, current_));
    if (kind == ekSwitchOne) return at(listAt(elements_.ScreenSwitchesOne, current_));
    return at(listAt(elements_.ScreenSwitchesGrp, current_));
}

void TSkinScreen::PressSilently(const std::string& mark) {
    if (const auto* ones = listAt(elements_.ScreenSwitchesOne, current_))
        for (size_t j = 0; j < ones->size(); ++j) {
            const std::string& next = (*ones)[j].state ? (*ones)[j].upCommand : (*ones)[j].downCommand;
            if (next.find(mark) != std::string::npos) PointerDown(*ClickPoint(ekSwitchOne, int(j)), true);
        }
    if (const auto* groups = listAt(elements_.ScreenSwitchesGrp, current_))
        for (size_t j = 0; j < groups->size(); ++j)
            if ((*groups)[j].command.find(mark) != std::string::npos) PointerDown(*ClickPoint(ekSwitchGrp, int(j)), true);
}

void TSkinScreen::ForgetPointer(int kind, int index, bool stopFade) {
    if (index < 0) return;
    if (kind == ekButton && size_t(index) < buttonPics_.size()) {
        RBtnPic& pic = buttonPics_[size_t(index)];
        pic.spare = pic.hover = pic.pressed = false;
        if (stopFade && pic.fader) pic.fader->Stop();
        pic.shown = QImage();
    } else if (auto* ones = listAt(elements_.ScreenSwitchesOne, current_); kind == ekSwitchOne && ones && size_t(index) < ones->size()) {
        (*ones)[size_t(index)].hover = false;
    } else if (auto* groups = listAt(elements_.ScreenSwitchesGrp, current_); kind == ekSwitchGrp && groups && size_t(index) < groups->size()) {
        (*groups)[size_t(index)].hover = false;
    }
}

bool TSkinScreen::SwitchedOn(const std::string& downCommand) const {
    const auto* ones = listAt(elements_.ScreenSwitchesOne, current_);
    if (!ones) return false;
    for (const RSwthOne& s : *ones)
        if (s.state && s.downCommand == downCommand) return true;
    return false;
}

void TSkinScreen::ReplaySwitches(bool screenChange, const std::function<void(const RSkinCommand&)>& run) {
    const int screen = current_;
    const auto* ones = listAt(elements_.ScreenSwitchesOne, screen);
    for (int pass = 0; pass < (screenChange ? 2 : 1) && ones; ++pass)
        for (size_t j = 0; j < ones->size() && current_ == screen; ++j) {
            const RSwthOne s = (*ones)[j];
            if (screenChange && s.downCommand == "3d") continue;
            run({s.state ? s.downCommand : s.upCommand, s.sound, int(j), ekSwitchOne});
        }
    const auto* groups = listAt(elements_.ScreenSwitchesGrp, screen);
    for (size_t j = 0; groups && j < groups->size() && current_ == screen; ++j)
        if ((*groups)[j].state) {
            const RSwthGrp s = (*groups)[j];
            run({s.command, s.sound, int(j), ekSwitchGrp});
        }
}
