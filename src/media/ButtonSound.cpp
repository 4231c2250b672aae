#include "media/ButtonSound.h"

#include <QAudioDecoder>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "platform/Drives.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBytesPerMs = kRate * 2 / 1000;
constexpr int kBufferMs = 20;  // the output's buffer asked for; the server gives about 15 ms

QAudioFormat SoundFormat() {
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// A sound file of any kind the decoder reads (PCM, ADPCM, MP3 …) as 16-bit mono at 44.1 kHz;
// nothing when it cannot be decoded.
std::optional<QByteArray> Decode(const QString& host) {
    QAudioDecoder decoder;
    decoder.setAudioFormat(SoundFormat());
    decoder.setSource(QUrl::fromLocalFile(host));
    QByteArray pcm;
    bool failed = false;
    QEventLoop loop;
    QObject::connect(&decoder, &QAudioDecoder::bufferReady, &loop, [&] {
        const QAudioBuffer buffer = decoder.read();
        pcm.append(buffer.constData<char>(), buffer.byteCount());
    });
    QObject::connect(&decoder, &QAudioDecoder::finished, &loop, &QEventLoop::quit);
    QObject::connect(&decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), &loop, [&] {
        failed = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    decoder.start();
    loop.exec();
    if (failed || pcm.isEmpty()) return std::nullopt;
    return pcm;
}

// The one output all button sounds play through. While it is open it is kept full, with the
// sound started last and then silence: the sound server starts a stream only once its buffer is
// full, so a sound written alone into a quiet stream may never be heard. The buffer is small
// (about 15 ms), so a sound starts at most that late; the output closes after two quiet seconds
// and opens again with the next sound.
class TButtonSounds {
public:
    const QByteArray* Find(const std::string& file);
    bool Playing() const { return !until_.hasExpired(); }
    void Play(const QByteArray& pcm);

private:
    bool Open();
    void Feed();

    std::map<std::string, std::optional<QByteArray>> sounds_;  // by host path; none: cannot play
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* stream_ = nullptr;
    QTimer feeder_;
    QByteArray pending_;        // what is still to be written of the sound
    QDeadlineTimer until_{0};   // when the sound started last has been heard to its end
    QDeadlineTimer quiet_{0};   // when the output may close
};

const QByteArray* TButtonSounds::Find(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    if (!host) return nullptr;
    auto [it, fresh] = sounds_.try_emplace(*host);
    if (fresh) it->second = Decode(QString::fromStdString(*host));
    return it->second ? &*it->second : nullptr;
}

// Only where there is an audio output: without a sound server nothing is heard.
bool TButtonSounds::Open() {
    if (sink_) return true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    sink_ = std::make_unique<QAudioSink>(device, SoundFormat());
    sink_->setBufferSize(kBufferMs * kBytesPerMs);
    stream_ = sink_->start();
    if (!stream_) {
        sink_.reset();
        return false;
    }
    feeder_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feeder_, &QTimer::timeout, [this] { Feed(); });
    feeder_.start(2);
    return true;
}

void TButtonSounds::Feed() {
    if (pending_.isEmpty() && quiet_.hasExpired()) {
        feeder_.stop();
        feeder_.disconnect();
        sink_.reset();
        stream_ = nullptr;
        return;
    }
    for (qint64 room = sink_->bytesFree() & ~qint64(1); room > 0; room = sink_->bytesFree() & ~qint64(1)) {
        QByteArray chunk = pending_.left(room);
        pending_.remove(0, chunk.size());
        chunk.append(QByteArray(room - chunk.size(), 0));
        if (stream_->write(chunk) <= 0) break;
    }
}

void TButtonSounds::Play(const QByteArray& pcm) {
    if (!Open()) return;
    pending_ = pcm;
    until_ = QDeadlineTimer(pcm.size() / kBytesPerMs + 2 * kBufferMs);
    quiet_ = QDeadlineTimer(pcm.size() / kBytesPerMs + 2000);
    Feed();
}

TButtonSounds& Sounds() {
    static TButtonSounds* sounds = [] {
        auto* s = new TButtonSounds;
        // The output goes before the application object does.
        QObject::connect(qApp, &QObject::destroyed, [s] { delete s; });
        return s;
    }();
    return *sounds;
}

}  // namespace

bool ButtonSoundPlaying() { return Sounds().Playing(); }

void PreloadButtonSound(const std::string& file) { Sounds().Find(file); }

void PlayButtonSound(const std::string& file) {
    if (Sounds().Playing()) return;
    if (const QByteArray* sound = Sounds().Find(file)) Sounds().Play(*sound);
}

void PlaySoundToEnd(const std::string& file) {
    const QByteArray* sound = Sounds().Find(file);
    if (!sound) return;
    Sounds().Play(*sound);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!Sounds().Playing()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}
