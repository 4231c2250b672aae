// The message dialog at run time: painting, the pointer over its elements, their commands, the
// find's result list and closing.
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <map>

#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "packs/StringUtils.h"
#include "platform/QtText.h"
#include "platform/ReaderAct.h"
#include "platform/SettingsStore.h"
#include "skin/MyControl.h"
#include "skin/SkinDialog.h"
#include "skin/WindowShape.h"

namespace {

// Hit tests are strict: the outer pixels of an element do not count.
bool inside(const QRect& r, QPoint p) {
    return r.left() < p.x() && p.x() < r.left() + r.width() && r.top() < p.y() && p.y() < r.top() + r.height();
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

void TCoolDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (effect_->Running()) {
        effect_->PaintCurrentFrame(painter);
        return;
    }
    painter.drawImage(0, 0, picture_);
    for (const RDialogButton& b : buttons_) {
        if (b.fader->Active()) b.fader->PaintCurrentFrame(painter);
        else if (b.hover) painter.drawImage(b.rect.topLeft(), b.pictures[b.pressed ? 2 : 1]);
    }
    const auto& records = description_.pages.empty() ? std::vector<RSwthGrp>() : description_.pages[size_t(page_)].switches;
    for (size_t i = 0; i < switches_.size() && i < records.size(); ++i) PaintSwitch(painter, switches_[i], records[i]);
    host_.PaintOverlay(painter);
}

void TCoolDialog::PaintSwitch(QPainter& painter, const RDialogSwitch& pic, const RSwthGrp& s) const {
    if (pic.fader->Active()) return pic.fader->PaintCurrentFrame(painter);
    const int look = s.hover ? (s.state ? 2 : 1) : (s.state ? 3 : -1);
    if (look >= 0) painter.drawImage(pic.rect.topLeft(), pic.pictures[look]);
}

void TCoolDialog::Fade(TEffBtnCar* fader, const QImage& from, const QImage& to, QPoint at) {
    if (to.isNull()) return update();
    fader->Start(from, to, at);
}

void TCoolDialog::PointerMove(QPoint point) {
    if (effect_->Running() || !isVisible()) return;
    for (RDialogButton& b : buttons_) {
        const bool in = inside(b.rect, point);
        if (in && !b.hover) Fade(b.fader, b.pictures[0], b.pictures[1], b.rect.topLeft());
        else if (!in && b.hover) Fade(b.fader, b.pictures[1], b.pictures[0], b.rect.topLeft());
        if (in != b.hover) b.pressed = false;
        b.hover = in;
    }
    auto& records = description_.pages[size_t(page_)].switches;
    for (size_t i = 0; i < switches_.size(); ++i) {
        RDialogSwitch& pic = switches_[i];
        RSwthGrp& s = records[i];
        const bool in = inside(pic.rect, point);
        const QImage& away = pic.pictures[s.state ? 3 : 0];
        const QImage& over = pic.pictures[s.state ? 2 : 1];
        if (in && !s.hover) Fade(pic.fader, away, over, pic.rect.topLeft());
        else if (!in && s.hover) Fade(pic.fader, over, away, pic.rect.topLeft());
        s.hover = in;
    }
}

// A press on a button arms it; on a switch that is off it switches the group over; anywhere
// else it drags the dialog.
bool TCoolDialog::PointerDown(QPoint point) {
    if (effect_->Running()) return false;
    for (RDialogButton& b : buttons_)
        if (inside(b.rect, point)) {
            if (!b.pressed) Fade(b.fader, b.pictures[1], b.pictures[2], b.rect.topLeft());
            b.pressed = b.hover = true;
            return false;
        }
    auto& records = description_.pages[size_t(page_)].switches;
    for (size_t i = 0; i < switches_.size(); ++i) {
        if (!inside(switches_[i].rect, point)) continue;
        if (records[i].state) return false;
        Fade(switches_[i].fader, switches_[i].pictures[1], switches_[i].pictures[2], switches_[i].rect.topLeft());
        for (size_t j = 0; j < records.size(); ++j)
            if (j != i && records[j].group == records[i].group && records[j].state) {
                records[j].state = false;
                Fade(switches_[j].fader, switches_[j].pictures[3], switches_[j].pictures[0], switches_[j].rect.topLeft());
            }
        records[i].state = true;
        RunCommand(records[i].command, records[i].sound);
        return false;
    }
    if (!windowHandle() || !windowHandle()->startSystemMove()) dragFrom_ = point;
    return true;
}

void TCoolDialog::PointerUp(QPoint point) {
    dragFrom_ = QPoint();
    for (size_t i = 0; i < buttons_.size(); ++i) {
        RDialogButton& b = buttons_[i];
        if (!inside(b.rect, point)) continue;
        if (!b.pressed) {
            update(b.rect);
            continue;
        }
        b.pressed = false;
        update(b.rect);
        const std::string command = b.command, sound = b.sound;
        RunCommand(command, sound);  // may close the page and free the buttons
        return;
    }
    auto& records = description_.pages[size_t(page_)].switches;
    for (size_t i = 0; i < switches_.size(); ++i)
        if (inside(switches_[i].rect, point)) {
            records[i].hover = false;
            PointerMove(point);
        }
}

void TCoolDialog::mouseMoveEvent(QMouseEvent* e) {
    if (!dragFrom_.isNull() && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - dragFrom_);
    else PointerMove(SkinPixel(e->position()));
}
void TCoolDialog::mousePressEvent(QMouseEvent* e) {
    const TReaderAct click;
    PointerDown(SkinPixel(e->position()));
}
void TCoolDialog::mouseReleaseEvent(QMouseEvent* e) {
    const TReaderAct click;
    PointerUp(SkinPixel(e->position()));
}

void TCoolDialog::keyPressEvent(QKeyEvent* e) {
    if (EffectRunning()) e->accept();  // keys wait for the fade, as the pointer does
    else if (e->key() == Qt::Key_Escape) host_.EscapePressed(e);
    else QWidget::keyPressEvent(e);
}

// The commands of the dialog's elements, in this order: a stop while a search runs, the sound,
// the find modes, closing, and the next find.
void TCoolDialog::RunCommand(const std::string& command, const std::string& sound) {
    if (host_.Busy() && contains(command, "findnext")) {
        host_.StopFind();
        return;
    }
    if (!sound.empty() && sound != "no" && host_.SoundsOn()) host_.PlaySound(sound);
    if (command == "findtxtall") {
        host_.SetFindMode(TFindMode::AllFiles);
        ShowFindResults();
    } else if (contains(command, "findtxtlimit") || contains(command, "findtxtcontents")) {
        host_.SetFindMode(contains(command, "findtxtlimit") ? TFindMode::Limited : TFindMode::Contents);
        RemoveResults();
    } else if (!contains(command, "findnext")) {
        Close(command == "yes" ? 6 : command == "no" ? 7 : kClosedCode);
    } else {
        host_.FindNext(ParseIntAt(command, 9));
    }
}
