#include "media/MidiDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>

#include "platform/Diagnostics.h"

namespace {

constexpr int kBytesPerFrame = 4;  // 16-bit stereo
// The output's buffer: enough to ride out a busy window thread, and taken off the position.
constexpr int kBufferMs = 300;
constexpr int kFeedMs = 20;
constexpr int kChunkFrames = 1024;

QAudioFormat PcmFormat() {
    QAudioFormat format;
    format.setSampleRate(TMidiSynth::kRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

int64_t Ms(int64_t frames) { return frames * 1000 / TMidiSynth::kRate; }

}  // namespace

TMidiDevice::TMidiDevice(std::string soundFont) : synth_(std::move(soundFont)) {
    feeder_.setInterval(kFeedMs);
    connect(&feeder_, &QTimer::timeout, this, [this] { Feed(); });
}

TMidiDevice::~TMidiDevice() { StopOutput(); }

bool TMidiDevice::IsMidiName(const std::string& hostPath) {
    const QString suffix = QFileInfo(QString::fromStdString(hostPath)).suffix().toLower();
    return suffix == "mid" || suffix == "midi" || suffix == "rmi";
}

bool TMidiDevice::HasMidiHeader(const std::string& hostPath) {
    QFile file(QString::fromStdString(hostPath));
    return file.open(QIODevice::ReadOnly) && TMidiSong::HasMidiHeader(file.read(12).toStdString());
}

int TMidiDevice::Open(const std::string& hostPath) {
    Close();
    const QFileInfo info(QString::fromStdString(hostPath));
    if (!info.isFile()) return 275;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) return 348;
    if (file.size() > TMidiSong::kMaxFileSize) return 296;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) return 348;
    auto song = TMidiSong::Parse(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (!song) {
        qCInfo(lcMedia).noquote() << "not a MIDI song that can be played whole:" << info.absoluteFilePath();
        return 296;
    }
    if (!synth_.Ready()) return 296;
    synth_.SetSong(std::move(*song));
    open_ = true;
    return 0;
}

void TMidiDevice::Close() {
    StopOutput();
    if (open_) synth_.SetSong(TMidiSong());
    open_ = false;
}

bool TMidiDevice::Play() {
    if (!open_) return false;
    if (sink_) return true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    sink_ = std::make_unique<QAudioSink>(device, PcmFormat());
    sink_->setBufferSize(kBufferMs * TMidiSynth::kRate / 1000 * kBytesPerFrame);
    stream_ = sink_->start();
    if (!stream_) {
        sink_.reset();
        return false;
    }
    // An output that stops with an error has broken off; that is told from the event loop.
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state != QAudio::StoppedState || sink_->error() == QAudio::NoError) return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!sink_ || sink_->state() != QAudio::StoppedState) return;
                const int64_t at = HeardFrame();
                StopOutput();
                synth_.Seek(at);
                if (Failed) Failed();
            },
            Qt::QueuedConnection);
    });
    startFrame_ = synth_.Frame();
    written_ = 0;
    Feed();
    feeder_.start();
    return true;
}

// Stopping the output drops what it holds; the song goes on later from what was heard.
void TMidiDevice::Pause() {
    if (!sink_) return;
    const int64_t at = HeardFrame();
    StopOutput();
    synth_.Seek(at);
}

// The first frame of the millisecond, so that the position reads back as the place sought.
void TMidiDevice::Seek(int64_t ms) {
    StopOutput();
    synth_.Seek((ms * TMidiSynth::kRate + 999) / 1000);
}

int64_t TMidiDevice::HeardFrame() const {
    if (!sink_) return std::min(synth_.Frame(), synth_.LengthFrames());
    const int64_t queued = (sink_->bufferSize() - sink_->bytesFree()) / kBytesPerFrame;
    return std::clamp<int64_t>(startFrame_ + written_ - queued, startFrame_, synth_.LengthFrames());
}

int64_t TMidiDevice::Position() const { return Ms(HeardFrame()); }

int64_t TMidiDevice::Length() const { return open_ ? Ms(synth_.LengthFrames()) : 0; }

// Keeps the output full. Once the end has been heard, the output closes and the end is told;
// until then what still sounds after the last event fills it.
void TMidiDevice::Feed() {
    if (!sink_) return feeder_.stop();
    if (written_ > 0 && HeardFrame() >= synth_.LengthFrames()) {
        StopOutput();
        if (Ended) Ended();
        return;
    }
    int16_t pcm[2 * kChunkFrames];
    for (qint64 room = sink_->bytesFree() / kBytesPerFrame; room > 0; room = sink_->bytesFree() / kBytesPerFrame) {
        const int frames = int(std::min<qint64>(room, kChunkFrames));
        synth_.Render(pcm, frames);
        if (volume_ < 1.0)
            for (int16_t& sample : pcm) sample = int16_t(std::lround(sample * std::max(volume_, 0.0)));
        const qint64 wrote = stream_->write(reinterpret_cast<const char*>(pcm), qint64(frames) * kBytesPerFrame);
        if (wrote > 0) written_ += wrote / kBytesPerFrame;
        if (wrote < qint64(frames) * kBytesPerFrame) break;
    }
}

void TMidiDevice::StopOutput() {
    feeder_.stop();
    if (!sink_) return;
    sink_->disconnect(this);
    sink_->stop();
    sink_.reset();
    stream_ = nullptr;
}
