// The main window's videos: the start clip that plays before the window opens, and the 3-D clip
// of the first screen with its clicks, screen changes and the timer that resumes it.
#include <QApplication>

#include "app/MainForm.h"
#include "app/SuperTimer.h"
#include "base/GlobalPaths.h"
#include "media/AviPlayer.h"
#include "media/Install.h"
#include "media/StartClip.h"
#include "platform/hostpaths/Drives.h"
#include "settings/FormOptions.h"
#include "skin/SkinScreen.h"

namespace {

bool isSet(const std::string& key) { return !key.empty() && key != "no"; }

}  // namespace

// The start clip plays first when the book has one and the "Clip" setting is on; then the window
// opens and the music starts. A switched-on 3-D clip, which could not play while the window was
// hidden, starts once the window is open.
void TMainForm::StartBook(std::function<void()> done) {
    auto open = [this, done = std::move(done)] {
        ShowAnimated([this, done] {
            if (options_) options_->ClearAnimation();  // the start is over
            if (skin_ && skin_->SwitchedOn("3d") && CurrentScreen() == 0) Clip3D();
            if (done) done();
        });
        StartMusic();
    };
    if (!isSet(start_.keys.rolic) || !options_ || !options_->Values().clip) return open();
    RStartClipHost host;
    host.installMpegDriver = InstallMpegDriver;
    host.finished = [this, open] {
        if (startClip_) startClip_->deleteLater();
        open();
    };
    startClip_ = new TStartClip(ProgramDir() + start_.keys.rolic, isSet(start_.keys.background), std::move(host));
}

void TMainForm::Clip3D() {
    if (!avi_) {
        HostPathsService().SetCurrentDirectory(ProgramDir());
        RAviHost host;
        host.screenImage = [this] { return Background(); };
        host.drawIntoScreen = [this](QPoint at, const QImage& picture) {
            if (skin_) skin_->DrawOnBackground(at, picture);
        };
        host.loadPicture = [this](const std::string& name) { return LoadPicture(name); };
        avi_ = std::make_unique<TMyAviPlayer>(this, std::move(host));
        avi_->OpenClip(TMyAviPlayer::kRect, "car.avi");
    }
    avi_->SetActive(true);
}

void TMainForm::Clip2D() {
    if (avi_) avi_->SetActive(false);
}

// A click on the 3-D clip freezes it or plays it on; a held left button on a still clip drags the
// window.
bool TMainForm::ClipPress(Qt::MouseButton button, QPoint point) {
    if (!avi_ || !avi_->ClickAt(point)) return false;
    if (button == Qt::LeftButton && avi_->IsStill()) DragWindow();
    return true;
}

bool TMainForm::OverPlayingClip(QPoint point) const { return avi_ && avi_->Active() && avi_->HitTest(point); }

// Before a screen is built: the reading screen freezes the clip.
void TMainForm::ClipBeforeSwitch(int target) {
    if (avi_ && target == 1) avi_->Freeze();
}

// After: the video and its frozen frame show only on the first screen (elsewhere the frame would
// show through the gaps of the page panel).
void TMainForm::ClipAfterSwitch() {
    if (!avi_) return;
    avi_->ShowVideo(CurrentScreen() == 0);
    if (CurrentScreen() == 0) avi_->PaintStill();
}

// A 3-D clip switched on starts a moment after the screen is up, once the car effect is over.
void TMainForm::StartClip3D() {
    if (!clipStartTimer_) {
        clipStartTimer_ = new TSuperTimer(this);
        clipStartTimer_->SetInterval(100);
        clipStartTimer_->OnTimer = [this](TSuperTimer* timer) {
            if (EffectRunning()) return;
            timer->SetEnabled(false);
            if (CurrentScreen() == 0 && avi_) avi_->ResumeAfterSwitch();
        };
    }
    clipStartTimer_->SetEnabled(true);
}

bool TMainForm::ClipStill() const { return !avi_ || avi_->IsStill(); }

void TMainForm::FreeClips() { avi_.reset(); }
