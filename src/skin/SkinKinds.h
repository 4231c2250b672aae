#pragma once
// The three kinds of skin elements as the loops of the skin screen see them, and the helpers
// those loops share. Private to the skin screen.
#include <QPoint>

#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "effects/EffBtnCar.h"
#include "skin/SkinScreen.h"

// What the loops over the three kinds of elements need to know of each kind. Looks are picture
// indexes: a button shows 0 normally and 1 under the pointer; a switch 0 / 1 when off, 3 / 2
// when on. Look 0 is part of the background.
template <class Element>
struct TSkinKind;

template <>
struct TSkinKind<RBtn> {
    static constexpr char kName[] = "button";
    static bool& Hover(RBtn&, RBtnPic& pic) { return pic.hover; }
    static bool Hover(const RBtn&, const RBtnPic& pic) { return pic.hover; }
    static int Look(const RBtn&, bool hover) { return hover ? 1 : 0; }
    static void Leave(RBtnPic& pic) { pic.pressed = false; }  // a press that leaves is cancelled
    static int FadeStep(const RBtn& b) { return TEffBtnCar::StepFor(Cp1251::asciiLower(b.command)); }
    static bool BoundToTree(const RBtn&) { return false; }
};

template <class Switch>
struct TSwitchKind {
    static bool& Hover(Switch& s, RSwthPic&) { return s.hover; }
    static bool Hover(const Switch& s, const RSwthPic&) { return s.hover; }
    static int Look(const Switch& s, bool hover) { return s.state ? (hover ? 2 : 3) : (hover ? 1 : 0); }
    static void Leave(RSwthPic&) {}
};

template <>
struct TSkinKind<RSwthOne> : TSwitchKind<RSwthOne> {
    static constexpr char kName[] = "single switch";
    static int FadeStep(const RSwthOne&) { return 4; }
    // A single switch bound to the second tree ignores the pointer while no tree shows.
    static bool BoundToTree(const RSwthOne& s) {
        return Cp1251::asciiEqualsNoCase(s.upCommand, "tree2") || Cp1251::asciiEqualsNoCase(s.downCommand, "tree2");
    }
};

template <>
struct TSkinKind<RSwthGrp> : TSwitchKind<RSwthGrp> {
    static constexpr char kName[] = "grouped switch";
    static int FadeStep(const RSwthGrp&) { return 0; }  // never fades
    static bool BoundToTree(const RSwthGrp&) { return false; }
};

namespace SkinKinds {

template <class T>
QPoint cornerOf(const T& e) { return QPoint(e.left, e.top); }

// The element's outer row and column of pixels do not count.
template <class T>
bool inside(const T& e, QPoint p) { return e.left < p.x() && p.x() < e.right && e.top < p.y() && p.y() < e.bottom; }

// The list of one screen, or null for a screen that has none.
template <class Lists>
auto listAt(Lists& lists, int screen) -> decltype(&lists[0]) {
    return screen >= 0 && size_t(screen) < lists.size() ? &lists[size_t(screen)] : nullptr;
}

template <class Element>
std::vector<const std::string*> pictureNames(const Element& e) {
    std::vector<const std::string*> names{&e.picture1, &e.picture2, &e.picture3};
    if constexpr (requires { e.picture4; }) names.push_back(&e.picture4);
    return names;
}

// Every element of one kind on the current screen with its pictures, in list order.
template <class List, class Pics, class F>
void forEach(List* list, Pics& pics, F&& f) {
    for (size_t i = 0; list && i < list->size() && i < pics.size(); ++i) f((*list)[i], pics[i], i);
}

} // namespace SkinKinds

