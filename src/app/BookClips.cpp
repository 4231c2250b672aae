// The book's 3-D clip of the first screen: its clicks, the screen switches around it and the
// timer that resumes it.
#include <QImage>
#include <QWidget>

#include "app/BookMedia.h"
#include "app/SuperTimer.h"
#include "base/GlobalPaths.h"
#include "media/AviPlayer.h"
#include "platform/hostpaths/Drives.h"

void TBookMedia::Clip3D() {
    if (!avi_) {
        HostPathsService().SetCurrentDirectory(ProgramDir());
        RAviHost host;
        host.screenImage = [this] { return host_.ScreenImage(); };
        host.drawIntoScreen = [this](QPoint at, const QImage& picture) { host_.DrawOnScreen(at, picture); };
        host.loadPicture = [this](const std::string& name) { return host_.LoadPicture(name); };
        avi_ = std::make_unique<TMyAviPlayer>(&window_, std::move(host));
        avi_->OpenClip(TMyAviPlayer::kRect, "car.avi");
    }
    avi_->SetActive(true);
}

void TBookMedia::Clip2D() {
    if (avi_) avi_->SetActive(false);
}

bool TBookMedia::ClipPress(QPoint point) { return avi_ && avi_->ClickAt(point); }

bool TBookMedia::OverPlayingClip(QPoint point) const { return avi_ && avi_->Active() && avi_->HitTest(point); }

bool TBookMedia::ClipStill() const { return !avi_ || avi_->IsStill(); }

void TBookMedia::ClipBeforeSwitch(int target) {
    if (clipStartTimer_) clipStartTimer_->SetEnabled(false);
    if (avi_ && target == 1) avi_->Freeze();
}

// Elsewhere than on the first screen the frame would show through the gaps of the page panel.
void TBookMedia::ClipAfterSwitch(bool switchedOn) {
    const bool first = host_.CurrentScreen() == 0;
    if (avi_) {
        avi_->ShowVideo(first);
        if (first) avi_->PaintStill();
    }
    if (switchedOn && (!first || (avi_ && avi_->Active()))) StartClip3D();
}

// A 3-D clip switched on starts a moment after the screen is up, once the car effect is over.
void TBookMedia::StartClip3D() {
    if (!clipStartTimer_) {
        clipStartTimer_ = std::make_unique<TSuperTimer>();
        clipStartTimer_->SetInterval(100);
        clipStartTimer_->OnTimer = [this](TSuperTimer* timer) {
            if (host_.EffectRunning()) return;
            timer->SetEnabled(false);
            if (host_.CurrentScreen() == 0 && avi_) avi_->ResumeAfterSwitch();
        };
    }
    clipStartTimer_->SetEnabled(true);
}

void TBookMedia::StopClipTimer() { clipStartTimer_.reset(); }

void TBookMedia::FreeClips() {
    clipStartTimer_.reset();
    avi_.reset();
}
