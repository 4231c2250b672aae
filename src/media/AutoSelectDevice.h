#pragma once
// TAutoSelectDevice: the device a player has unless it is given one. Each file is played by the
// device that can play it, chosen when it is opened: a MIDI song, known by its first bytes or
// its name, by TMidiDevice (made with the first one), anything else by TQtMediaDevice. A file
// named as a MIDI song that is none goes to Qt Multimedia when the MIDI device refuses it.
// Window thread only.
#include <memory>

#include "media/MediaDevice.h"
#include "media/ReadAhead.h"

class TMidiDevice;
class TQtMediaDevice;

class TAutoSelectDevice : public IMediaDevice {
public:
    TAutoSelectDevice();
    ~TAutoSelectDevice() override;

    int Open(const std::string& hostPath) override;
    void Prepare(const std::string& hostPath, std::function<void()> ready) override {
        readAhead_.Start(hostPath, std::move(ready));
    }
    void Close() override {
        readAhead_.Cancel();
        current_->Close();
    }
    bool Play() override { return current_->Play(); }
    void Pause() override { current_->Pause(); }
    void Seek(int64_t ms) override { current_->Seek(ms); }
    int64_t Position() const override { return current_->Position(); }
    int64_t Length() const override { return current_->Length(); }
    bool HasVideo() const override { return current_->HasVideo(); }
    QSize VideoSize() const override { return current_->VideoSize(); }
    QImage Frame() const override { return current_->Frame(); }
    void SetVolume(double volume) override;

    // Whether the file open now plays through the MIDI device.
    bool PlaysMidi() const;

private:
    void Follow(IMediaDevice& device);

    std::unique_ptr<TQtMediaDevice> qt_;
    std::unique_ptr<TMidiDevice> midi_;
    IMediaDevice* current_;
    double volume_ = 1.0;
    TReadAhead readAhead_;
};
