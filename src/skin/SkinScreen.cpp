#include "skin/SkinScreen.h"

#include <QPainter>
#include <QWidget>

#include <type_traits>

#include "base/Cp1251.h"
#include "effects/EffBtnCar.h"
#include "platform/Diagnostics.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "skin/SkinKinds.h"

using namespace SkinKinds;

namespace {

template <class Element, class Pic>
void paintKind(QPainter& painter, const std::vector<Element>* list, const std::vector<Pic>& pics) {
    forEach(list, pics, [&](const Element& e, const Pic& pic, size_t) {
        const int look = TSkinKind<Element>::Look(e, TSkinKind<Element>::Hover(e, pic));
        if (pic.fader && pic.fader->Active()) pic.fader->PaintCurrentFrame(painter);
        else if (!pic.shown.isNull()) painter.drawImage(cornerOf(e), pic.shown);
        else if (look > 0 && !pic.pictures[look].isNull()) painter.drawImage(cornerOf(e), pic.pictures[look]);
    });
}

} // namespace


TSkinScreen::TSkinScreen(TInterfaceDescription& elements, RSkinHost host) : elements_(elements), host_(std::move(host)) {}

TSkinScreen::~TSkinScreen() {
    auto free = [](auto& pics) {
        for (auto& pic : pics) {
            delete pic.control;
            delete pic.fader;
        }
    };
    free(buttonPics_);
    free(onePics_);
    free(grpPics_);
}

bool TSkinScreen::FadesAllowed() const { return !host_.effectRunning || !host_.effectRunning(); }

void TSkinScreen::Update() const {
    if (host_.window) host_.window->update();
}

void TSkinScreen::Build(int screen, bool firstBuild) {
    current_ = screen;
    if (size_t(screen) < elements_.ScreenBackgrounds.size() && host_.loadPicture) {
        const QImage back = host_.loadPicture(elements_.ScreenBackgrounds[size_t(screen)]);
        if (!back.isNull()) background_ = back;
    }
    if (background_.isNull()) {
        background_ = QImage(host_.window ? host_.window->size() : QSize(640, 480), QImage::Format_RGB32);
        background_.fill(Qt::white);
    }
    Rebuild(listAt(elements_.ScreenButtons, screen), buttonPics_, firstBuild);
    for (auto& pic : buttonPics_) pic.spare = pic.hover = pic.pressed = false;
    Rebuild(listAt(elements_.ScreenSwitchesOne, screen), onePics_, firstBuild);
    Rebuild(listAt(elements_.ScreenSwitchesGrp, screen), grpPics_, firstBuild);

    // Every element's first picture is part of the background.
    QPainter painter(&background_);
    auto copy = [&](const auto& e, const auto& pic, size_t) {
        if (!pic.pictures[0].isNull()) painter.drawImage(cornerOf(e), pic.pictures[0]);
    };
    forEach(listAt(elements_.ScreenButtons, screen), buttonPics_, copy);
    forEach(listAt(elements_.ScreenSwitchesOne, screen), onePics_, copy);
    forEach(listAt(elements_.ScreenSwitchesGrp, screen), grpPics_, copy);
    Update();
}

template <class Element, class Pic>
void TSkinScreen::Rebuild(std::vector<Element>* list, std::vector<Pic>& pics, bool firstBuild) {
    const size_t count = list ? list->size() : 0;
    while (pics.size() > count) {
        delete pics.back().control;
        delete pics.back().fader;
        pics.pop_back();
    }
    pics.resize(count);
    for (size_t i = 0; i < count; ++i) {
        Element& e = (*list)[i];
        Pic& pic = pics[i];
        const auto names = pictureNames(e);
        for (size_t k = 0; k < names.size(); ++k) {
            const QImage loaded = host_.loadPicture ? host_.loadPicture(*names[k]) : QImage();
            if (!loaded.isNull()) pic.pictures[k] = loaded;
            else if (firstBuild) pic.pictures[k] = QImage();
        }
        if (!pic.pictures[0].isNull()) {
            e.right = e.left + pic.pictures[0].width();
            e.bottom = e.top + pic.pictures[0].height();
        } else if (firstBuild) {
            e.right = e.left;
            e.bottom = e.top;
            qCInfo(lcSkin).noquote() << QStringLiteral("screen %1, %2 %3 has no first picture \"%4\": it cannot be pressed")
                                            .arg(current_ + 1)
                                            .arg(QLatin1String(TSkinKind<Element>::kName))
                                            .arg(i)
                                            .arg(ToQt(e.picture1));
        }
        const QRect area(e.left, e.top, e.right - e.left, e.bottom - e.top);
        if (host_.window) {
            if (!pic.control) pic.control = new TMyControl(host_.window, area, ToQt(e.hint), host_.forward);
            pic.control->setGeometry(area);
            pic.control->setToolTip(hints_ ? ToQt(e.hint) : QString());
        }
        delete pic.fader;
        pic.fader = nullptr;
        int step = TSkinKind<Element>::FadeStep(e);
        if constexpr (std::is_same_v<Element, RBtn>)
            if (host_.buttonFadeStep > 0) step = host_.buttonFadeStep;
        if (step > 0 && host_.tickers) {
            pic.fader = new TEffBtnCar(host_.window, step, host_.tickers);
            pic.fader->SetPaintAllowed([this] { return FadesAllowed(); });
        }
        pic.shown = QImage();
    }
}

void TSkinScreen::SetButtonHint(const std::string& command, const std::string& hint) {
    const auto* buttons = listAt(elements_.ScreenButtons, current_);
    forEach(buttons, buttonPics_, [&](const RBtn& b, const RBtnPic& pic, size_t) {
        if (Cp1251::asciiEqualsNoCase(b.command, command) && pic.control) pic.control->setToolTip(ToQt(hint));
    });
}

// A fade where the element has a fader and both looks are the same size; a straight change
// otherwise.
void TSkinScreen::ChangeLook(TEffBtnCar* fader, QImage& shown, const QImage& from, const QImage& to, QPoint at) {
    shown = to;
    if (fader && !from.isNull() && !to.isNull() && from.size() == to.size()) fader->Start(from, to, at);
    else if (host_.window) host_.window->update(QRect(at, to.size()));
}

void TSkinScreen::DrawOnBackground(QPoint at, const QImage& picture) {
    if (background_.isNull() || picture.isNull()) return;
    QPainter(&background_).drawImage(at, picture);
    Update();
}

void TSkinScreen::Paint(QPainter& painter) const {
    painter.drawImage(0, 0, background_);
    paintKind(painter, listAt(elements_.ScreenButtons, current_), buttonPics_);
    paintKind(painter, listAt(elements_.ScreenSwitchesOne, current_), onePics_);
    paintKind(painter, listAt(elements_.ScreenSwitchesGrp, current_), grpPics_);
}

void TSkinScreen::ReadSwitchStates(const std::string& title) {
    TSettingsStore settings(title);
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

void TSkinScreen::WriteSwitchStates(const std::string& title) const {
    TSettingsStore settings(title);
    auto write = [&](const auto& lists, const char* prefix) {
        for (size_t s = 0; s < lists.size(); ++s)
            for (size_t j = 0; j < lists[s].size(); ++j)
                if (lists[s][j].store) settings.WriteBool(prefix + std::to_string(s) + std::to_string(j), lists[s][j].state);
    };
    write(elements_.ScreenSwitchesOne, "SwOne");
    write(elements_.ScreenSwitchesGrp, "SwGrp");
}
