#pragma once
// TMPlayer: the media player component every sound and clip of the book plays through. It keeps
// the contract of a Windows media-control device: a file is opened, played with a notification
// when it ends, stopped (keeping its position), paused and resumed, sought; Mode tells the
// device mode (0 not ready, 1 stopped, 2 playing, 3 recording, 4 seeking, 5 paused, 6 open; a
// closed player is 0). Play asks for a notification unless told otherwise; the other commands
// only when a one-shot override asks. A notification reaches OnNotify from the event loop with
// NotifyValue 0 (played to the end), 1 (superseded by a new play), 2 (aborted by stop, seek or
// close) or 3 (failed: the playback broke off or stalled).
//
// Failures raise EMCIDeviceError with the device's message ("No MCI device open" for a closed
// player); the error codes of an open are 275 (no such file), 348 (unreadable) and 296 (refused
// by the player), and a sound that cannot be heard for want of an audio output fails to play
// with 322. Positions are milliseconds. Video shows in the display control, at its own size at
// (0, 0), or stretched over the display rectangle. Window thread only.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "media/MediaDevice.h"

class TVideoSurface;

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};

class EMCIDeviceError : public std::runtime_error {
public:
    explicit EMCIDeviceError(const std::string& message) : std::runtime_error(message) {}
};

class TMPlayer : public QObject {
public:
    static constexpr int kFileNotFound = 275;
    static constexpr int kInvalidFile = 296;
    static constexpr int kNoAudioOutput = 322;
    static constexpr int kFileRead = 348;

    // device: the media device; null for the one that picks Qt Multimedia or the MIDI synthesizer
    // for each file.
    explicit TMPlayer(QObject* owner = nullptr, std::unique_ptr<IMediaDevice> device = nullptr);
    ~TMPlayer() override;

    // Published properties.
    bool AutoRewind = false;
    TMPDeviceTypes DeviceType = dtAutoSelect;
    std::string FileName;  // a Windows path (CP1251), found through the drive mapping
    bool Shareable = false;
    std::function<void(TMPlayer* sender)> OnNotify;
    QWidget* Display() const { return display_; }

    void Open();
    // Opens without holding the window while a slow disc reads the file: the device reads it
    // ahead first. done gets 0 or the open's error from the event loop, or at once where the
    // device reads nothing ahead; a close or a later open drops it.
    void OpenThen(std::function<void(int error)> done);
    // A clip's open: a refusal other than a missing, invalid or unreadable file runs install (the
    // MPEG driver) and opens once more.
    void OpenClipThen(std::function<void()> install, std::function<void(int error)> done);
    void Close();
    int Play();
    void Stop();
    void PauseOnly();
    void Resume();
    // Playing: pauses; paused: resumes; otherwise nothing.
    void Pause();
    void Seek(int64_t to);
    void Rewind();
    // One-shot overrides for the next command.
    void SetNotify(bool value) { notify_ = value; }
    void SetWait(bool value) { wait_ = value; }
    void SetFrom(int64_t value) { from_ = value; }
    void SetTo(int64_t value) { to_ = value; }
    void SetTimeFormat(int format) { timeFormat_ = format; }

    void SetDisplay(QWidget* control);
    void ClearDisplay();
    // (left, top, width, height); a width and height of 0 mean the video's own size.
    void SetDisplayRect(const QRect& rect);
    QRect GetDisplayRect() const;

    int64_t Length() const;
    int64_t Position() const;
    int Mode() const { return deviceId_ ? mode_ : 0; }
    int LastError() const { return lastError_; }
    int NotifyValue() const { return notifyValue_; }
    std::string ErrorMessage() const;
    bool Opened() const { return deviceId_ != 0; }
    bool HasVideo() const { return Opened() && hasVideo_; }
    bool CanStep() const { return canStep_; }
    QSize VideoSize() const { return videoSize_; }
    // The frame shown now; null without video.
    QImage CurrentFrame() const;
    // The output volume, 0 to 1 (the background music's fades).
    void SetVolume(double volume) { device_->SetVolume(volume); }

private:
    struct RFlags {
        bool notify = false;
        bool wait = true;
        std::optional<int64_t> from, to;
    };
    RFlags TakeFlags(bool playLike);
    void CheckOpen() const;
    [[noreturn]] void Raise(int error);
    void Notify(int value);
    void EndPending(int value);
    void Ended();
    void Broke();
    void Watch();
    void WaitForEnd();
    void ReadCapabilities();
    void PlaceSurface();

    std::unique_ptr<IMediaDevice> device_;
    uint16_t deviceId_ = 0;
    unsigned openTicket_ = 0;  // the open waiting for its file; a close or a new open moves it on
    int mode_ = 1;
    int lastError_ = 0;
    int notifyValue_ = 0;
    int timeFormat_ = 0;
    bool pending_ = false;  // a play waits to notify its end
    bool atEnd_ = false;    // the last play ran to the end
    std::optional<bool> notify_, wait_;
    std::optional<int64_t> from_, to_;
    std::optional<int64_t> stopAt_;  // the "to" position of the play running
    bool hasVideo_ = false;
    bool canStep_ = false;
    QSize videoSize_;
    QPointer<QWidget> display_;
    QPointer<TVideoSurface> surface_;
    QRect displayRect_;  // (left, top, width, height); empty: the video's own size at (0, 0)
    QTimer watch_;
    int64_t lastPosition_ = -1;  // where the watch last saw the play move on
    int stalledMs_ = 0;          // since then
};
