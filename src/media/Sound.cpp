#include "media/Sound.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <memory>
#include <utility>

#include "media/BackgroundMusic.h"

namespace {

// The hourglass cursor, shown while it lives or until restored.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Restore(); }
    void Restore() {
        if (std::exchange(shown_, false) && qApp) QApplication::restoreOverrideCursor();
    }

private:
    bool shown_ = true;
};

constexpr int64_t kStepMs = 10000;

// A clip area: a coloured control that tells the window when the pointer moves over it.
class TClipArea : public QWidget {
public:
    TClipArea(QWidget* window, std::function<void()> over) : QWidget(window), over_(std::move(over)) {
        setMouseTracking(true);
        setAutoFillBackground(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        if (over_) over_();
        QWidget::mouseMoveEvent(event);
    }

private:
    std::function<void()> over_;
};

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

TSound::TSound(QWidget* window, const std::vector<RClip>& clips, TBackgroundMusic* music, ISoundHost& host,
               std::unique_ptr<IMediaDevice> device)
    : TMPlayer(window, std::move(device)), music_(music), host_(host) {
    for (const RClip& clip : clips) {
        auto* area = new TClipArea(window, [this] { host_.PointerLeftSkin(); });
        QPalette palette = area->palette();
        palette.setColor(QPalette::Window, QColor(clip.bgColor & 0xFF, (clip.bgColor >> 8) & 0xFF, (clip.bgColor >> 16) & 0xFF));
        area->setPalette(palette);
        area->setGeometry(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
        area->hide();
        areas_.push_back({area, clip.screen, clip.html});
    }
    OnNotify = [this](TMPlayer*) { MediaEnded(); };
    ShowClipAreas();
}

// The current screen's areas show; the previous screen's, when it was another, hide.
void TSound::ShowClipAreas() {
    const int screen = host_.CurrentScreen();
    for (const RArea& area : areas_) {
        if (area.screen == screen) area.control->show();
        if (area.screen == lastShown_ && lastShown_ != screen) area.control->hide();
    }
    lastShown_ = screen;
}

// A sound added while one plays chains after it, unless that one already closes or gives the
// music back.
void TSound::ChooseEndAction(int action) {
    if (action != 3) endAction_ = action;
    else if (Mode() == 2) endAction_ = endAction_ == 4 || endAction_ == 5 ? endAction_ : 3;
    else endAction_ = 4;
}

void TSound::PlayMedia(const std::string& name, const std::string& page, int action) {
    ChooseEndAction(action);
    if (music_ && music_->On()) {
        music_->Stop(false);
        music_->SetOn(false);
        if (action == 3) endAction_ = 5;
    }
    FileName = name;
    // The hourglass shows until the file is open, or its open is dropped for another.
    auto busy = std::make_shared<TWaitCursor>();
    auto play = [this, busy](int error) {
        busy->Restore();
        try {
            if (!error) {
                Play();
                return;
            }
        } catch (const EMCIDeviceError&) {
        }
        if (endAction_ == 5) ResumeMusic();  // the music does not wait for a sound that never comes
    };
    if (contains(name, ".wav") || name.empty()) OpenThen(std::move(play));
    else OpenClip(page, std::move(play));
}

// A clip shows in the first area of the current screen; a refusal other than a missing, invalid
// or unreadable file installs the MPEG driver and tries once more.
void TSound::OpenClip(const std::string& page, std::function<void(int error)> done) {
    const int screen = host_.CurrentScreen();
    for (const RArea& area : areas_) {
        if (area.screen != screen) continue;
        SetDisplay(area.control);
        host_.OpenPageIn(page, area.html);
        break;
    }
    OpenClipThen([this] { host_.InstallMpegDriver(); }, std::move(done));
}

void TSound::ResumeMusic() {
    if (!music_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    music_->SetOn(true);
    music_->Start();
    QApplication::restoreOverrideCursor();
}

// A clip that played to its end acts on its end action; one that broke off only gives the music
// back.
void TSound::MediaEnded() {
    if (NotifyValue() == 3 && endAction_ == 5) return ResumeMusic();
    if (NotifyValue() != 0) return;
    if (endAction_ == 3) PlayMedia("", "", 0);
    else if (endAction_ == 4) Close();
    else if (endAction_ == 5) ResumeMusic();
}

void TSound::StepForward() {
    try {
        SetTimeFormat(0);
        Seek(std::min(Position() + kStepMs, Length()));
        Play();
    } catch (const EMCIDeviceError&) {
    }
}

void TSound::StepBack() {
    try {
        SetTimeFormat(0);
        Seek(std::max<int64_t>(Position() - kStepMs, 0));
        Play();
    } catch (const EMCIDeviceError&) {
    }
}
