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

#include "platform/hostpaths/Drives.h"

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

constexpr int kDecodeLimitMs = 5000;  // a decoder that never ends gives up with what it has
constexpr int kLateMs = 300;          // a click's sound still decoding plays when ready this soon

// A sound file of any kind the decoder reads (PCM, ADPCM, MP3 …), decoded in the background to
// 16-bit mono at 44.1 kHz: pending until done, then playable or not.
struct RSound {
    std::unique_ptr<QAudioDecoder> decoder;
    QByteArray pcm;
    bool done = false;
    bool playable = false;
};

// The one output all button sounds play through. While it is open it is kept full, with the
// sound started last and then silence: the sound server starts a stream only once its buffer is
// full, so a sound written alone into a quiet stream may never be heard. The buffer is small
// (about 15 ms), so a sound starts at most that late; the output closes after two quiet seconds
// and opens again with the next sound.
class TButtonSounds {
public:
    // The sound, its decoding started the first time it is asked for; null for a missing file.
    const RSound* Find(const std::string& file);
    bool Playing() const { return !until_.hasExpired(); }
    void Play(const QByteArray& pcm);
    // A sound still decoding plays once it is ready, when that is soon.
    void PlayWhenReady(const std::string& file);

private:
    bool Open();
    void Feed();
    RSound& Sound(const std::string& host);  // decoding starts the first time
    void Decode(const std::string& host, RSound& sound);
    void Decoded(const std::string& host, RSound& sound, bool ok);

    std::map<std::string, RSound> sounds_;  // by host path
    std::string wanted_;                    // the sound a click asked for while it decoded
    QDeadlineTimer wantedUntil_{0};
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* stream_ = nullptr;
    QTimer feeder_;
    QByteArray pending_;        // what is still to be written of the sound
    QDeadlineTimer until_{0};   // when the sound started last has been heard to its end
    QDeadlineTimer quiet_{0};   // when the output may close
};

const RSound* TButtonSounds::Find(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    return host ? &Sound(*host) : nullptr;
}

RSound& TButtonSounds::Sound(const std::string& host) {
    RSound& sound = sounds_[host];
    if (!sound.done && !sound.decoder) Decode(host, sound);
    return sound;
}

void TButtonSounds::Decode(const std::string& host, RSound& sound) {
    sound.decoder = std::make_unique<QAudioDecoder>();
    QAudioDecoder* decoder = sound.decoder.get();
    decoder->setAudioFormat(SoundFormat());
    decoder->setSource(QUrl::fromLocalFile(QString::fromStdString(host)));
    QObject::connect(decoder, &QAudioDecoder::bufferReady, decoder, [decoder, &sound] {
        const QAudioBuffer buffer = decoder->read();
        sound.pcm.append(buffer.constData<char>(), buffer.byteCount());
    });
    QObject::connect(decoder, &QAudioDecoder::finished, decoder, [this, host, &sound] { Decoded(host, sound, true); });
    QObject::connect(decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), decoder,
                     [this, host, &sound] { Decoded(host, sound, false); });
    QTimer::singleShot(kDecodeLimitMs, decoder, [this, host, &sound] { Decoded(host, sound, true); });
    decoder->start();
}

void TButtonSounds::Decoded(const std::string& host, RSound& sound, bool ok) {
    if (sound.done) return;
    sound.done = true;
    sound.playable = ok && !sound.pcm.isEmpty();
    sound.decoder.release()->deleteLater();  // this runs inside one of its signals
    if (wanted_ != host) return;
    wanted_.clear();
    if (sound.playable && !wantedUntil_.hasExpired() && !Playing()) Play(sound.pcm);
}

void TButtonSounds::PlayWhenReady(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    if (!host) return;
    const RSound& sound = Sound(*host);
    if (sound.playable) return Play(sound.pcm);
    if (sound.done) return;
    wanted_ = *host;
    wantedUntil_ = QDeadlineTimer(kLateMs);
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
    if (!Sounds().Playing()) Sounds().PlayWhenReady(file);
}

// At shutdown: the sound, decoded first where it is not yet, is heard to its end.
void PlaySoundToEnd(const std::string& file) {
    const RSound* sound = Sounds().Find(file);
    if (!sound) return;
    QEventLoop loop;
    QTimer poll;
    bool started = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!started && sound->playable) {
            Sounds().Play(sound->pcm);
            started = true;
        }
        if ((started && !Sounds().Playing()) || (sound->done && !sound->playable)) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}
