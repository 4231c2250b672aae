#include "media/MPlayer.h"

#include <QEventLoop>
#include <QWidget>

#include "media/AutoSelectDevice.h"
#include "media/VideoSurface.h"
#include "platform/hostpaths/Drives.h"

namespace {

constexpr int kWatchMs = 100;
// A playing device whose position moved less than a tenth of this time in this time has broken
// off (a stalled player may still creep by a millisecond now and then).
constexpr int kStallMs = 3000;
uint16_t lastDeviceId = 0;

}  // namespace

TMPlayer::TMPlayer(QObject* owner, std::unique_ptr<IMediaDevice> device)
    : QObject(owner), device_(device ? std::move(device) : std::make_unique<TAutoSelectDevice>()) {
    device_->Ended = [this] { Ended(); };
    device_->Failed = [this] { Broke(); };
    device_->NewFrame = [this] {
        if (surface_) surface_->SetFrame(device_->Frame());
    };
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, [this] { Watch(); });
}

TMPlayer::~TMPlayer() {
    device_->Ended = device_->Failed = device_->NewFrame = nullptr;
    device_->Close();
    delete surface_.data();
}

std::string TMPlayer::ErrorMessage() const {
    switch (lastError_) {
    case 0: return "The specified command was carried out.";
    case kFileNotFound: return "The specified file cannot be found. Make sure the path and filename are correct.";
    case kInvalidFile: return "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in the correct format.";
    case kNoAudioOutput: return "No wave device that can play files in the current format is installed.";
    case kFileRead: return "There was a problem reading from the specified file.";
    default: return "Unknown error code";
    }
}

void TMPlayer::CheckOpen() const {
    if (!deviceId_) throw EMCIDeviceError("No MCI device open");
}

void TMPlayer::Raise(int error) {
    lastError_ = error;
    throw EMCIDeviceError(ErrorMessage());
}

// The overrides of the next command, used up by it. A play notifies and returns at once unless
// told otherwise; the other commands wait and notify only when asked.
TMPlayer::RFlags TMPlayer::TakeFlags(bool playLike) {
    RFlags flags;
    flags.notify = playLike ? notify_.value_or(true) : notify_.value_or(false);
    flags.wait = playLike ? wait_.value_or(false) : wait_.value_or(true);
    flags.from = from_;
    flags.to = to_;
    notify_.reset();
    wait_.reset();
    from_.reset();
    to_.reset();
    return flags;
}

// The notification comes from the event loop, as a window message would.
void TMPlayer::Notify(int value) {
    QMetaObject::invokeMethod(this, [this, value] {
        notifyValue_ = value;
        if (OnNotify) OnNotify(this);
    }, Qt::QueuedConnection);
}

void TMPlayer::EndPending(int value) {
    if (!pending_) return;
    pending_ = false;
    Notify(value);
}

void TMPlayer::Open() {
    const RFlags flags = TakeFlags(false);
    Close();
    lastError_ = 0;
    const auto host = HostPathsService().Find(FileName);
    if (!host) Raise(kFileNotFound);
    if (const int error = device_->Open(*host)) Raise(error);
    deviceId_ = ++lastDeviceId ? lastDeviceId : ++lastDeviceId;
    mode_ = 1;
    atEnd_ = false;
    ReadCapabilities();
    if (hasVideo_) SetDisplay(display_);
    if (flags.notify) Notify(0);
}

void TMPlayer::OpenThen(std::function<void(int error)> done) {
    Close();
    const unsigned ticket = ++openTicket_;
    const auto host = HostPathsService().Find(FileName);
    if (!host) {
        lastError_ = kFileNotFound;
        return done(kFileNotFound);
    }
    device_->Prepare(*host, [this, ticket, done = std::move(done)] {
        if (ticket != openTicket_) return;
        int error = 0;
        try {
            Open();
        } catch (const EMCIDeviceError&) {
            error = lastError_;
        }
        done(error);
    });
}

void TMPlayer::OpenClipThen(std::function<void()> install, std::function<void(int error)> done) {
    OpenThen([this, install = std::move(install), done = std::move(done)](int error) {
        if (!error || !install || error == kFileNotFound || error == kInvalidFile || error == kFileRead) return done(error);
        install();
        try {
            Open();
        } catch (const EMCIDeviceError&) {
            return done(lastError_);
        }
        done(0);
    });
}

void TMPlayer::ReadCapabilities() {
    hasVideo_ = device_->HasVideo();
    canStep_ = hasVideo_;  // a digital video device steps by frames
    videoSize_ = hasVideo_ ? device_->VideoSize() : QSize();
}

void TMPlayer::Close() {
    ++openTicket_;
    if (!deviceId_) return;
    const RFlags flags = TakeFlags(false);
    EndPending(2);
    watch_.stop();
    device_->Close();
    deviceId_ = 0;
    hasVideo_ = false;
    if (surface_) surface_->hide();
    if (flags.notify) Notify(0);
}

int TMPlayer::Play() {
    CheckOpen();
    const RFlags flags = TakeFlags(true);
    if (AutoRewind && !flags.from && !flags.to && Length() > 0 && Position() >= Length()) Rewind();
    if (flags.from) {
        device_->Seek(*flags.from);
        atEnd_ = false;
    }
    EndPending(1);
    lastError_ = 0;
    stopAt_ = flags.to;
    if (Length() > 0 && Position() >= Length()) {  // nothing left to play
        mode_ = 1;
        if (flags.notify) Notify(0);
        return 0;
    }
    if (!device_->Play()) {
        mode_ = 1;
        Raise(kNoAudioOutput);
    }
    atEnd_ = false;
    mode_ = 2;
    pending_ = flags.notify;
    lastPosition_ = -1;
    stalledMs_ = 0;
    watch_.start();
    if (flags.wait) WaitForEnd();
    return lastError_;
}

// A play that waits: the event loop runs until it ends, for no longer than it can last.
void TMPlayer::WaitForEnd() {
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (Mode() != 2) loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(int(std::min<int64_t>(Length() + kStallMs, INT32_MAX)), &loop, &QEventLoop::quit);
    loop.exec();
}

void TMPlayer::Stop() {
    CheckOpen();
    const RFlags flags = TakeFlags(false);
    device_->Pause();  // a stopped device keeps its position
    mode_ = 1;
    watch_.stop();
    EndPending(2);
    if (flags.notify) Notify(0);
}

void TMPlayer::PauseOnly() {
    CheckOpen();
    const RFlags flags = TakeFlags(false);
    if (mode_ == 2) {
        device_->Pause();
        mode_ = 5;
        watch_.stop();
    }
    if (flags.notify) Notify(0);
}

// Only a paused device resumes; any other plays instead.
void TMPlayer::Resume() {
    CheckOpen();
    if (mode_ != 5) {
        Play();
        return;
    }
    const RFlags flags = TakeFlags(true);
    if (!device_->Play()) Raise(kNoAudioOutput);
    mode_ = 2;
    if (flags.notify) {
        EndPending(1);
        pending_ = true;
    }
    lastPosition_ = -1;
    stalledMs_ = 0;
    watch_.start();
}

void TMPlayer::Pause() {
    CheckOpen();
    if (mode_ == 2) PauseOnly();
    else if (mode_ == 5) Resume();
}

void TMPlayer::Seek(int64_t to) {
    CheckOpen();
    const RFlags flags = TakeFlags(false);
    device_->Pause();
    device_->Seek(to);
    atEnd_ = false;
    mode_ = 1;
    watch_.stop();
    EndPending(2);
    if (flags.notify) Notify(0);
}

void TMPlayer::Rewind() {
    CheckOpen();
    device_->Pause();
    device_->Seek(0);
    atEnd_ = false;
    mode_ = 1;
    watch_.stop();
    EndPending(2);
}

int64_t TMPlayer::Length() const {
    CheckOpen();
    return device_->Length();
}

// A play that reached the end stands at the end, wherever the device's last frame was.
int64_t TMPlayer::Position() const {
    if (!deviceId_) return 0;
    return atEnd_ ? device_->Length() : device_->Position();
}

void TMPlayer::Ended() {
    if (mode_ != 2) return;
    mode_ = 1;
    atEnd_ = true;
    watch_.stop();
    EndPending(0);
}

void TMPlayer::Broke() {
    if (!deviceId_) return;
    if (mode_ == 2) device_->Pause();
    mode_ = 1;
    watch_.stop();
    EndPending(3);
}

// While playing: a play with a "to" position ends there, and one that stands still has broken off.
void TMPlayer::Watch() {
    if (mode_ != 2) return watch_.stop();
    const int64_t position = device_->Position();
    if (stopAt_ && position >= *stopAt_) {
        device_->Pause();
        return Ended();
    }
    if (lastPosition_ < 0 || position - lastPosition_ >= kStallMs / 10) {
        lastPosition_ = position;
        stalledMs_ = 0;
    } else if ((stalledMs_ += kWatchMs) >= kStallMs) {
        Broke();
    }
}

void TMPlayer::SetDisplay(QWidget* control) {
    if (!control || !deviceId_ || !hasVideo_) {
        display_ = control;
        return;
    }
    if (display_ != control || !surface_) {
        delete surface_.data();
        surface_ = new TVideoSurface(control);
    }
    display_ = control;
    PlaceSurface();
    surface_->show();
}

void TMPlayer::ClearDisplay() {
    if (!deviceId_ || !hasVideo_) return;
    delete surface_.data();
    display_ = nullptr;
}

void TMPlayer::SetDisplayRect(const QRect& rect) {
    if (!deviceId_ || !hasVideo_) return;
    displayRect_ = rect.width() == 0 && rect.height() == 0 ? QRect(rect.topLeft(), videoSize_) : rect;
    PlaceSurface();
}

QRect TMPlayer::GetDisplayRect() const {
    if (!deviceId_ || !hasVideo_) return {};
    return displayRect_.isNull() ? QRect(QPoint(0, 0), videoSize_) : displayRect_;
}

void TMPlayer::PlaceSurface() {
    if (surface_) surface_->setGeometry(GetDisplayRect());
}

QImage TMPlayer::CurrentFrame() const { return HasVideo() ? device_->Frame() : QImage(); }
