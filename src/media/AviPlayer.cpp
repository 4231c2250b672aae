#include "media/AviPlayer.h"

#include <QWidget>

#include "packs/StringUtils.h"

const QRect TMyAviPlayer::kRect(QPoint(32, 138), QPoint(687, 393));

TMyAviPlayer::TMyAviPlayer(QWidget* window, RAviHost host, std::unique_ptr<IMediaDevice> device)
    : QObject(window), window_(window), host_(std::move(host)), device_(std::move(device)) {}

void TMyAviPlayer::Paint(const QImage& picture) {
    if (host_.drawIntoScreen) host_.drawIntoScreen(rect_.topLeft(), picture.scaled(rect_.size()));
}

void TMyAviPlayer::OpenClip(const QRect& rect, const std::string& name) {
    if (!window_ || TrimControls(name).empty()) return;
    rect_ = rect;
    const QImage screen = host_.screenImage ? host_.screenImage() : QImage();
    background_ = screen.copy(rect);
    idle_ = host_.loadPicture ? host_.loadPicture("3d_bg.bmp") : QImage();
    if (idle_.isNull()) idle_ = background_;
    still_ = false;
    if (player_) player_->Close();
    else player_ = std::make_unique<TMPlayer>(this, std::move(device_));
    player_->AutoRewind = true;
    player_->FileName = name;
    player_->SetDisplay(window_);
    player_->OnNotify = [this](TMPlayer*) { ClipNotify(); };
    player_->OpenThen([this, rect](int error) {
        if (error) return;  // no clip: "3d" does nothing
        player_->SetDisplayRect(QRect(rect.topLeft(), rect.size()));
        if (wantActive_) SetActive(true);
    });
}

bool TMyAviPlayer::IsStill() const {
    if (still_ || !player_ || !player_->Opened()) return true;
    const int mode = player_->Mode();
    return mode == 1 || mode == 5;
}

// A clip that is on, not frozen and has stopped reached its end: it plays again.
void TMyAviPlayer::ClipNotify() {
    if (!active_ || still_ || !IsStill() || !Opened()) return;
    try {
        player_->Play();
    } catch (const EMCIDeviceError&) {
    }
}

void TMyAviPlayer::Freeze() {
    if (!active_ || !Opened()) return;
    try {
        player_->PauseOnly();
    } catch (const EMCIDeviceError&) {
    }
    still_ = true;
    const QImage frame = player_->CurrentFrame();
    if (!frame.isNull()) frozen_ = frame.scaled(rect_.size());
    if (!frozen_.isNull()) Paint(frozen_);
}

bool TMyAviPlayer::ClickAt(QPoint point) {
    if (!active_ || !HitTest(point)) return false;
    if (!IsStill()) {
        Freeze();
        return true;
    }
    try {
        if (Opened()) player_->Play();
    } catch (const EMCIDeviceError&) {
    }
    still_ = false;
    return true;
}

// Off: frozen where it is and the window's own image put back; on: playing over the idle picture.
void TMyAviPlayer::SetActive(bool on) {
    wantActive_ = on;  // a clip still opening takes it once it is open
    if (!Opened()) return;
    if (!window_->isVisible()) {
        player_->Stop();
        active_ = false;
        return;
    }
    if (!on && active_) {
        player_->PauseOnly();
        still_ = true;
        Paint(background_);
        ShowVideo(false);
    } else if (on) {
        player_->Play();
        still_ = false;
        Paint(idle_);
        ShowVideo(true);
    }
    active_ = on;
}

void TMyAviPlayer::PaintStill() {
    if (!active_ || frozen_.isNull() || !Opened()) return;
    const int mode = player_->Mode();
    if (mode == 1 || mode == 5) Paint(frozen_);
}

void TMyAviPlayer::ResumeAfterSwitch() {
    still_ = false;
    ClipNotify();
    if (active_) Paint(idle_);
}

void TMyAviPlayer::ShowVideo(bool shown) {
    if (!Opened() || !player_->HasVideo()) return;
    if (shown) player_->SetDisplay(window_);
    else player_->ClearDisplay();
}
