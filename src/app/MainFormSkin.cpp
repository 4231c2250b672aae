// The skin of the main window: pictures per screen, painting, and the buttons' and switches'
// answers to the pointer.
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "app/MainForm.h"
#include "app/LinkServices.h"
#include "html/HtmlFrame.h"
#include "app/SuperTicker.h"
#include "base/Cp1251.h"
#include "platform/QtText.h"
#include "base/GlobalPaths.h"
#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "platform/SettingsStore.h"
#include "skin/CommandDispatcher.h"
#include "skin/MyControl.h"

namespace {


template <typename T>
QRect rectOf(const T& e) { return QRect(QPoint(e.left, e.top), QPoint(e.right - 1, e.bottom - 1)); }

// The element's outer row and column of pixels do not count.
template <typename T>
bool inside(const T& e, QPoint p) { return e.left < p.x() && p.x() < e.right && e.top < p.y() && p.y() < e.bottom; }

// A single switch bound to the second tree ignores the pointer while no tree shows.
bool treeBound(const RSwthOne& s) {
    return Cp1251::asciiEqualsNoCase(s.upCommand, "tree2") || Cp1251::asciiEqualsNoCase(s.downCommand, "tree2");
}

// The list of one screen, or null for a screen that has none.
template <typename Lists>
auto listAt(Lists& lists, int screen) -> decltype(&lists[0]) {
    return screen >= 0 && size_t(screen) < lists.size() ? &lists[size_t(screen)] : nullptr;
}

} // namespace

QImage TMainForm::LoadPicture(const std::string& name) const {
    TMemoryStream stream;
    QImage picture;
    if (!name.empty() && start_.bundle && start_.bundle->ReadBundleStream(name, stream))
        picture.loadFromData(stream.Data(), static_cast<int>(stream.Size()));
    return picture.convertToFormat(QImage::Format_RGB32);
}

// Loads the current screen's background and its elements' pictures, carriers and faders,
// reusing the records of the previous screen. A picture the bundle lacks leaves its slot as it
// was (empty for a new record), and an element without its first picture has no area.
void TMainForm::BuildScreen(bool firstBuild) {
    const int screen = currentScreen_;
    if (size_t(screen) < elements_.ScreenBackgrounds.size()) {
        const QImage back = LoadPicture(elements_.ScreenBackgrounds[size_t(screen)]);
        if (!back.isNull()) background_ = back;
    }
    if (background_.isNull()) {
        background_ = QImage(size(), QImage::Format_RGB32);
        background_.fill(Qt::white);
    }
    auto forward = [this](TMyControl::TMouse kind, QMouseEvent* e, QPoint at) {
        if (kind == TMyControl::TMouse::Move) FormMouseMove(at, e->modifiers());
        else if (kind == TMyControl::TMouse::Down) FormMouseDown(e->button(), at, e->modifiers());
        else FormMouseUp(e->button(), at, e->modifiers());
    };
    auto rebuild = [&](auto* list, auto& pics, int pictureCount, auto stepOf) {
        const size_t count = list ? list->size() : 0;
        while (pics.size() > count) {
            delete pics.back().control;
            delete pics.back().fader;
            pics.pop_back();
        }
        pics.resize(count);
        for (size_t i = 0; i < count; ++i) {
            auto& e = (*list)[i];
            auto& pic = pics[i];
            const std::string* names[4] = {&e.picture1, &e.picture2, &e.picture3, nullptr};
            if constexpr (requires { e.picture4; }) names[3] = &e.picture4;
            for (int k = 0; k < pictureCount; ++k) {
                const QImage loaded = LoadPicture(*names[k]);
                if (!loaded.isNull()) pic.pictures[k] = loaded;
                else if (firstBuild) pic.pictures[k] = QImage();
            }
            if (!pic.pictures[0].isNull()) {
                e.right = e.left + pic.pictures[0].width();
                e.bottom = e.top + pic.pictures[0].height();
            } else if (firstBuild) {
                e.right = e.left;
                e.bottom = e.top;
            }
            const QRect area(e.left, e.top, e.right - e.left, e.bottom - e.top);
            if (!pic.control) pic.control = new TMyControl(this, area, ToQt(e.hint), forward);
            pic.control->setGeometry(area);
            pic.control->setToolTip(hints_ ? ToQt(e.hint) : QString());
            delete pic.fader;
            pic.fader = new TEffBtnCar(this, stepOf(e), SuperTimerTickers());
            pic.fader->SetPaintAllowed([this] { return !EffectRunning(); });
            pic.shown = QImage();
        }
    };
    auto* buttons = listAt(elements_.ScreenButtons, screen);
    auto* ones = listAt(elements_.ScreenSwitchesOne, screen);
    auto* groups = listAt(elements_.ScreenSwitchesGrp, screen);
    rebuild(buttons, buttonPics_, 3, [](const RBtn& b) { return Cp1251::asciiLower(b.command).find("contextmenu") != std::string::npos ? 3 : 4; });
    for (auto& pic : buttonPics_) pic.spare = pic.hover = pic.pressed = false;
    rebuild(ones, switchOnePics_, 4, [](const RSwthOne&) { return 4; });
    rebuild(groups, switchGrpPics_, 4, [](const RSwthGrp&) { return 4; });
    for (auto& pic : switchGrpPics_) {  // grouped switches never fade
        delete pic.fader;
        pic.fader = nullptr;
    }
    CopyLooksIntoBackground();
    update();
}

// Every element's first picture is part of the background.
void TMainForm::CopyLooksIntoBackground() {
    QPainter painter(&background_);
    auto copy = [&](const auto* list, const auto& pics) {
        if (!list) return;
        for (size_t i = 0; i < list->size() && i < pics.size(); ++i)
            if (!pics[i].pictures[0].isNull()) painter.drawImage(QPoint((*list)[i].left, (*list)[i].top), pics[i].pictures[0]);
    };
    copy(listAt(elements_.ScreenButtons, currentScreen_), buttonPics_);
    copy(listAt(elements_.ScreenSwitchesOne, currentScreen_), switchOnePics_);
    copy(listAt(elements_.ScreenSwitchesGrp, currentScreen_), switchGrpPics_);
}

void TMainForm::ReadSwitchStates() {
    TSettingsStore settings(AppTitle());
    auto read = [&](auto& lists, const char* prefix) {
        for (size_t s = 0; s < lists.size(); ++s)
            for (size_t j = 0; j < lists[s].size(); ++j) {
                auto& sw = lists[s][j];
                sw.hover = false;
                if (sw.store) settings.ReadBool(prefix + std::to_string(s) + std::to_string(j), sw.state);
            }
    };
    read(elements_.ScreenSwitchesOne, "SwOne");
    read(elements_.ScreenSwitchesGrp, "SwGrp");
}

void TMainForm::WriteSwitchStates() const {
    TSettingsStore settings(AppTitle());
    auto write = [&](const auto& lists, const char* prefix) {
        for (size_t s = 0; s < lists.size(); ++s)
            for (size_t j = 0; j < lists[s].size(); ++j)
                if (lists[s][j].store) settings.WriteBool(prefix + std::to_string(s) + std::to_string(j), lists[s][j].state);
    };
    write(elements_.ScreenSwitchesOne, "SwOne");
    write(elements_.ScreenSwitchesGrp, "SwGrp");
}

// Switch states act through their commands, so a built screen replays them.
void TMainForm::ReplaySwitches(bool screenChange) {
    const int screen = currentScreen_;
    const auto* ones = listAt(elements_.ScreenSwitchesOne, screen);
    const auto* groups = listAt(elements_.ScreenSwitchesGrp, screen);
    for (int pass = 0; pass < (screenChange ? 2 : 1) && ones; ++pass)
        for (size_t j = 0; j < ones->size() && currentScreen_ == screen; ++j) {
            const RSwthOne sw = (*ones)[j];
            if (screenChange && sw.downCommand == "3d") continue;
            ExecuteCommand(*this, sw.state ? sw.downCommand : sw.upCommand, sw.sound, int(j), ekSwitchOne, true);
        }
    for (size_t j = 0; groups && j < groups->size() && currentScreen_ == screen; ++j)
        if ((*groups)[j].state) {
            const RSwthGrp sw = (*groups)[j];
            ExecuteCommand(*this, sw.command, sw.sound, int(j), ekSwitchGrp, true);
        }
}

void TMainForm::Fade(TEffBtnCar* fader, QImage& shown, const QImage& from, const QImage& to, QPoint at) {
    shown = to;
    if (fader && !from.isNull() && !to.isNull() && from.size() == to.size()) fader->Start(from, to, at);
    else update(QRect(at, to.size()));
}

void TMainForm::ShowDirect(QImage& shown, const QImage& picture, QPoint at) {
    shown = picture;
    update(QRect(at, picture.size()));
}

void TMainForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (EffectRunning()) {
        car_->PaintCurrentFrame(painter);
        return;
    }
    painter.drawImage(0, 0, background_);
    auto draw = [&](const auto& e, const auto& pic, const QImage& byState) {
        if (pic.fader && pic.fader->Active()) pic.fader->PaintCurrentFrame(painter);
        else if (!pic.shown.isNull()) painter.drawImage(QPoint(e.left, e.top), pic.shown);
        else if (!byState.isNull()) painter.drawImage(QPoint(e.left, e.top), byState);
    };
    if (const auto* buttons = listAt(elements_.ScreenButtons, currentScreen_))
        for (size_t i = 0; i < buttons->size() && i < buttonPics_.size(); ++i)
            draw((*buttons)[i], buttonPics_[i], buttonPics_[i].hover ? buttonPics_[i].pictures[1] : QImage());
    auto drawSwitches = [&](const auto* list, const auto& pics) {
        for (size_t i = 0; list && i < list->size() && i < pics.size(); ++i) {
            const auto& sw = (*list)[i];
            const int look = sw.state ? (sw.hover ? 2 : 3) : (sw.hover ? 1 : -1);
            draw(sw, pics[i], look < 0 ? QImage() : pics[i].pictures[look]);
        }
    };
    drawSwitches(listAt(elements_.ScreenSwitchesOne, currentScreen_), switchOnePics_);
    drawSwitches(listAt(elements_.ScreenSwitchesGrp, currentScreen_), switchGrpPics_);
}

void TMainForm::FormMouseMove(QPoint point, Qt::KeyboardModifiers) {
    if (EffectRunning()) return;
    auto* buttons = listAt(elements_.ScreenButtons, currentScreen_);
    for (size_t i = 0; buttons && i < buttons->size() && i < buttonPics_.size(); ++i) {
        const RBtn& b = (*buttons)[i];
        RBtnPic& pic = buttonPics_[i];
        const QPoint at(b.left, b.top);
        if (inside(b, point) && !pic.hover) {
            Fade(pic.fader, pic.shown, pic.pictures[0], pic.pictures[1], at);
            pic.hover = true;
        } else if (!inside(b, point) && pic.hover) {
            Fade(pic.fader, pic.shown, pic.pictures[1], pic.pictures[0], at);
            pic.hover = pic.pressed = false;
        }
    }
    auto* ones = listAt(elements_.ScreenSwitchesOne, currentScreen_);
    for (size_t i = 0; ones && i < ones->size() && i < switchOnePics_.size(); ++i) {
        RSwthOne& s = (*ones)[i];
        RSwthPic& pic = switchOnePics_[i];
        const QPoint at(s.left, s.top);
        if (inside(s, point) && !s.hover) {
            if (treeBound(s) && TreesHidden()) return;  // no tree shows: the switch and everything after it stay still
            s.state ? Fade(pic.fader, pic.shown, pic.pictures[3], pic.pictures[2], at)
                    : Fade(pic.fader, pic.shown, pic.pictures[0], pic.pictures[1], at);
            s.hover = true;
        } else if (!inside(s, point) && s.hover) {
            s.state ? Fade(pic.fader, pic.shown, pic.pictures[2], pic.pictures[3], at)
                    : Fade(pic.fader, pic.shown, pic.pictures[1], pic.pictures[0], at);
            s.hover = false;
        }
    }
    auto* groups = listAt(elements_.ScreenSwitchesGrp, currentScreen_);
    for (size_t i = 0; groups && i < groups->size() && i < switchGrpPics_.size(); ++i) {
        RSwthGrp& s = (*groups)[i];
        RSwthPic& pic = switchGrpPics_[i];
        if (inside(s, point) && !s.hover) {
            ShowDirect(pic.shown, pic.pictures[s.state ? 2 : 1], QPoint(s.left, s.top));
            s.hover = true;
        } else if (!inside(s, point) && s.hover) {
            ShowDirect(pic.shown, pic.pictures[s.state ? 3 : 0], QPoint(s.left, s.top));
            s.hover = false;
        }
    }
}

void TMainForm::FormMouseDown(Qt::MouseButton, QPoint point, Qt::KeyboardModifiers shift) {
    if (EffectRunning()) return;
    const bool silent = shift & Qt::ShiftModifier;
    auto* buttons = listAt(elements_.ScreenButtons, currentScreen_);
    for (size_t i = 0; buttons && i < buttons->size() && i < buttonPics_.size(); ++i) {
        const RBtn& b = (*buttons)[i];
        RBtnPic& pic = buttonPics_[i];
        if (!inside(b, point) || pic.pressed) continue;
        Fade(pic.fader, pic.shown, pic.pictures[1], pic.pictures[2], QPoint(b.left, b.top));
        pic.pressed = true;
        return;
    }
    auto* ones = listAt(elements_.ScreenSwitchesOne, currentScreen_);
    for (size_t i = 0; ones && i < ones->size() && i < switchOnePics_.size(); ++i) {
        RSwthOne& s = (*ones)[i];
        if (!inside(s, point)) continue;
        if (treeBound(s) && TreesHidden()) return;
        RSwthPic& pic = switchOnePics_[i];
        const QPoint at(s.left, s.top);
        s.state ? Fade(pic.fader, pic.shown, pic.pictures[2], pic.pictures[1], at)
                : Fade(pic.fader, pic.shown, pic.pictures[1], pic.pictures[2], at);
        s.state = !s.state;
        const RSwthOne sent = s;
        if (!silent) ExecuteCommand(*this, sent.state ? sent.downCommand : sent.upCommand, sent.sound, int(i), ekSwitchOne, false);
        return;
    }
    auto* groups = listAt(elements_.ScreenSwitchesGrp, currentScreen_);
    for (size_t i = 0; groups && i < groups->size() && i < switchGrpPics_.size(); ++i) {
        RSwthGrp& s = (*groups)[i];
        if (!inside(s, point)) continue;
        if (s.state) return;
        ShowDirect(switchGrpPics_[i].shown, switchGrpPics_[i].pictures[silent ? 3 : 2], QPoint(s.left, s.top));
        for (size_t k = 0; k < groups->size() && k < switchGrpPics_.size(); ++k) {
            RSwthGrp& other = (*groups)[k];
            if (k == i || other.group != s.group || !other.state) continue;
            ShowDirect(switchGrpPics_[k].shown, switchGrpPics_[k].pictures[0], QPoint(other.left, other.top));
            other.state = false;
        }
        s.state = true;
        const RSwthGrp sent = s;
        if (!silent) ExecuteCommand(*this, sent.command, sent.sound, int(i), ekSwitchGrp, false);
        return;
    }
    DragWindow();
}

void TMainForm::FormMouseUp(Qt::MouseButton, QPoint point, Qt::KeyboardModifiers shift) {
    if (EffectRunning()) return;
    const int screen = currentScreen_;
    auto* buttons = listAt(elements_.ScreenButtons, screen);
    for (size_t i = 0; buttons && i < buttons->size() && i < buttonPics_.size(); ++i) {
        const RBtn b = (*buttons)[i];
        RBtnPic& pic = buttonPics_[i];
        if (!inside(b, point)) continue;
        const QPoint at(b.left, b.top);
        if (pic.pressed) {
            pic.pressed = false;
            const bool leaves = b.command.rfind("screen2", 0) == 0 || b.command == "1" || b.command.rfind("exit", 0) == 0;
            if (!leaves) Fade(pic.fader, pic.shown, pic.pictures[2], pic.pictures[1], at);
            ExecuteCommand(*this, b.command, b.sound, int(i), ekButton, false);
            if (currentScreen_ != screen) return;
        } else {
            Fade(pic.fader, pic.shown, pic.pictures[2], pic.pictures[0], at);
        }
    }
    auto* groups = listAt(elements_.ScreenSwitchesGrp, screen);
    for (size_t i = 0; groups && i < groups->size(); ++i)
        if (inside((*groups)[i], point)) {
            (*groups)[i].hover = false;
            FormMouseMove(point, shift);
        }
}

void TMainForm::ClickSwitchOne(int index, bool silent) {
    const auto* ones = listAt(elements_.ScreenSwitchesOne, currentScreen_);
    if (!ones || index < 0 || size_t(index) >= ones->size()) return;
    const QPoint at((*ones)[size_t(index)].left + 1, (*ones)[size_t(index)].top + 1);
    FormMouseDown(Qt::LeftButton, at, silent ? Qt::ShiftModifier : Qt::NoModifier);
}

void TMainForm::DragWindow() {
    if (EffectRunning() || !windowHandle()) return;
    windowHandle()->startSystemMove();
}

void TMainForm::mouseMoveEvent(QMouseEvent* e) { FormMouseMove(e->position().toPoint(), e->modifiers()); }
void TMainForm::mousePressEvent(QMouseEvent* e) { FormMouseDown(e->button(), e->position().toPoint(), e->modifiers()); }
void TMainForm::mouseReleaseEvent(QMouseEvent* e) { FormMouseUp(e->button(), e->position().toPoint(), e->modifiers()); }
