#pragma once
// IMediaDevice: the one opened media file a TMPlayer drives: open, play from the position,
// pause keeping it, seek, and report the end. TQtMediaDevice plays through Qt Multimedia,
// TMidiDevice plays MIDI songs through a synthesizer, and TAutoSelectDevice picks one of them for
// each file; tests may hand a player a device of their own. Window thread only: Ended and Failed come from the
// event loop, never from inside a call.
#include <QImage>
#include <QSize>

#include <cstdint>
#include <functional>
#include <string>

class IMediaDevice {
public:
    virtual ~IMediaDevice() = default;

    // 0, or the MCI error the open failed with: 275 the file does not exist, 348 it cannot be
    // read, 296 the player refuses it.
    virtual int Open(const std::string& hostPath) = 0;
    // Readies an Open of the file that does not wait for the disc (what it needs is read off the
    // window thread), then calls ready: from the event loop, or at once where nothing needs
    // reading ahead. A Close or a later Prepare drops it.
    virtual void Prepare(const std::string& hostPath, std::function<void()> ready) = 0;
    virtual void Close() = 0;
    // Plays from the position; false when the device cannot (no output for a sound).
    virtual bool Play() = 0;
    virtual void Pause() = 0;
    virtual void Seek(int64_t ms) = 0;
    virtual int64_t Position() const = 0;
    virtual int64_t Length() const = 0;
    virtual bool HasVideo() const = 0;
    virtual QSize VideoSize() const = 0;
    // The newest video frame; null before the first.
    virtual QImage Frame() const = 0;
    // The output volume, 0 to 1.
    virtual void SetVolume(double volume) = 0;

    std::function<void()> Ended;     // played to its end
    std::function<void()> Failed;    // the playback broke off
    std::function<void()> NewFrame;  // a video frame arrived
};
