#include "media/AutoSelectDevice.h"

#include "media/MidiDevice.h"
#include "media/QtMediaDevice.h"

TAutoSelectDevice::TAutoSelectDevice() : qt_(std::make_unique<TQtMediaDevice>()), current_(qt_.get()) { Follow(*qt_); }

TAutoSelectDevice::~TAutoSelectDevice() = default;

// The device's reports are this device's, and count only while it plays the file open now.
void TAutoSelectDevice::Follow(IMediaDevice& device) {
    device.Ended = [this, &device] {
        if (current_ == &device && Ended) Ended();
    };
    device.Failed = [this, &device] {
        if (current_ == &device && Failed) Failed();
    };
    device.NewFrame = [this, &device] {
        if (current_ == &device && NewFrame) NewFrame();
    };
}

int TAutoSelectDevice::Open(const std::string& hostPath) {
    current_->Close();
    const bool header = TMidiDevice::HasMidiHeader(hostPath);
    if (header || TMidiDevice::IsMidiName(hostPath)) {
        if (!midi_) {
            midi_ = std::make_unique<TMidiDevice>();
            midi_->SetVolume(volume_);
            Follow(*midi_);
        }
        current_ = midi_.get();
        const int error = midi_->Open(hostPath);
        if (error == 0 || header) return error;
    }
    current_ = qt_.get();
    return qt_->Open(hostPath);
}

void TAutoSelectDevice::SetVolume(double volume) {
    volume_ = volume;
    qt_->SetVolume(volume);
    if (midi_) midi_->SetVolume(volume);
}

bool TAutoSelectDevice::PlaysMidi() const { return midi_ && current_ == midi_.get(); }
