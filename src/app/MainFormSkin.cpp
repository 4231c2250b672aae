// The main window's skin: it paints the skin screen, hands it the pointer, and runs the commands
// its buttons and switches send.
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <optional>

#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "effects/EffCar.h"
#include "platform/ReaderAct.h"
#include "skin/WindowShape.h"
#include "rules/CommandDispatcher.h"
#include "skin/SkinScreen.h"

void TMainForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (InStandardWindow()) return painter.fillRect(rect(), palette().window());
    if (ShapeByPainting() && !region_.isEmpty()) painter.setClipRegion(region_);  // the outline, drawn
    if (EffectRunning()) car_->PaintCurrentFrame(painter);
    else if (skin_) skin_->Paint(painter);
    if (!EffectRunning() && controls_) controls_->PaintWindow(painter);
}

// A command the program replays is its own, even while a reader's click led to the replay.
void TMainForm::RunSkinCommand(const RSkinCommand& c, bool startup) {
    std::optional<TReaderAct::TProgramOwn> own;
    if (startup) own.emplace();
    ExecuteCommand(Routes(), c.command, c.sound, c.index, c.kind, startup);
}

// Switch states act through their commands, so a built screen replays them.
void TMainForm::ReplaySwitches(bool screenChange) {
    skin_->ReplaySwitches(screenChange, [this](const RSkinCommand& c) { RunSkinCommand(c, true); });
}

// Over a playing 3-D clip the skin sees no pointer.
void TMainForm::FormMouseMove(QPoint point, Qt::KeyboardModifiers) {
    if (skin_ && !(media_ && media_->OverPlayingClip(point))) skin_->PointerMove(point);
}

// Any press on the window closes an open popup first.
void TMainForm::FormMouseDown(Qt::MouseButton button, QPoint point, Qt::KeyboardModifiers shift) {
    ClosePopup();
    if (!skin_ || ClipPress(button, point)) return;
    const RSkinPress press = skin_->PointerDown(point, shift & Qt::ShiftModifier);
    if (press.command) RunSkinCommand(*press.command, false);
    else if (press.drag) DragWindow();
}

// A command that changes the screen ends the release: the other buttons are gone. A button that
// goes to the reading screen freezes the 3-D clip first.
void TMainForm::FormMouseUp(Qt::MouseButton, QPoint point, Qt::KeyboardModifiers) {
    if (!skin_ || (media_ && media_->OverPlayingClip(point))) return;
    const int screen = skin_->Current();
    for (const RSkinCommand& command : skin_->PointerUp(point)) {
        if (command.command.rfind("screen2", 0) == 0) if (media_) media_->ClipBeforeSwitch(1);
        RunSkinCommand(command, false);
        if (skin_->Current() != screen) return;
    }
}

void TMainForm::ClickSwitchOne(int index, bool silent) {
    if (const auto at = skin_ ? skin_->ClickPoint(ekSwitchOne, index) : std::nullopt)
        FormMouseDown(Qt::LeftButton, *at, silent ? Qt::ShiftModifier : Qt::NoModifier);
}

// Back and forward bring the switches that opened the page group back in step, silently.
void TMainForm::PressSwitchesFor(const std::string& name) {
    if (skin_) skin_->PressSilently(name);
}

void TMainForm::SetButtonHint(const std::string& command, const std::string& hint) {
    if (skin_) skin_->SetButtonHint(command, hint);
}

// A click on the 3-D clip freezes it or plays it on; a held left button on a still clip drags the
// window.
bool TMainForm::ClipPress(Qt::MouseButton button, QPoint point) {
    if (!media_ || !media_->ClipPress(point)) return false;
    if (button == Qt::LeftButton && media_->ClipStill()) DragWindow();
    return true;
}

void TMainForm::DrawOnScreen(QPoint at, const QImage& picture) {
    if (skin_) skin_->DrawOnBackground(at, picture);
}

void TMainForm::OpenPageIn(const std::string& page, int view) {
    if (pageFrame_) pageFrame_->OpenInElement(page, view);
}

void TMainForm::DragWindow() {
    if (EffectRunning() || !windowHandle()) return;
    windowHandle()->startSystemMove();
}

void TMainForm::mouseMoveEvent(QMouseEvent* e) { FormMouseMove(SkinPixel(e->position()), e->modifiers()); }
void TMainForm::mousePressEvent(QMouseEvent* e) {
    const TReaderAct click;
    lastPress_ = e->globalPosition().toPoint();
    FormMouseDown(e->button(), SkinPixel(e->position()), e->modifiers());
}
void TMainForm::mouseReleaseEvent(QMouseEvent* e) {
    const TReaderAct click;
    FormMouseUp(e->button(), SkinPixel(e->position()), e->modifiers());
}
