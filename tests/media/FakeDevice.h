#pragma once
// A media device the test drives by hand: it opens what it is told to, plays when it may, and
// ends, breaks off or moves on only when the test says so.
#include <utility>

#include "media/MediaDevice.h"

struct FakeDevice : IMediaDevice {
    int openError = 0;
    bool canPlay = true;
    bool playing = false;
    int64_t position = 0;
    int64_t length = 10000;
    bool video = false;
    int plays = 0;
    bool holdPrepare = false;
    std::function<void()> pendingReady;

    int Open(const std::string&) override {
        position = 0;
        return openError;
    }
    // Ready at once, or only when the test says so (Ready).
    void Prepare(const std::string&, std::function<void()> ready) override {
        if (holdPrepare) pendingReady = std::move(ready);
        else ready();
    }
    void Ready() { std::exchange(pendingReady, nullptr)(); }
    void Close() override {
        playing = false;
        pendingReady = nullptr;
    }
    bool Play() override {
        if (!canPlay) return false;
        playing = true;
        ++plays;
        return true;
    }
    void Pause() override { playing = false; }
    void Seek(int64_t ms) override { position = ms; }
    int64_t Position() const override { return position; }
    int64_t Length() const override { return length; }
    bool HasVideo() const override { return video; }
    QSize VideoSize() const override { return video ? QSize(64, 48) : QSize(); }
    QImage Frame() const override { return {}; }
    void SetVolume(double) override {}

    void End() {
        position = length;
        playing = false;
        Ended();
    }
};
