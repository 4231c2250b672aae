#include "media/ButtonSound.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <map>
#include <memory>

#include "media/MPlayer.h"
#include "platform/Drives.h"

namespace {

// A WAV file of plain 16- or 8-bit PCM, which the sound-effect player plays with least delay.
bool IsPcmWav(const QString& host) {
    QFile file(host);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(64);
    const qsizetype fmt = head.indexOf("fmt ");
    return head.startsWith("RIFF") && fmt >= 0 && head.size() >= fmt + 10 && head[fmt + 8] == 1 && head[fmt + 9] == 0;
}

// One loaded sound: a sound effect, or a media player for what the effect cannot decode.
struct RSound {
    std::unique_ptr<QSoundEffect> effect;
    std::unique_ptr<TMPlayer> player;
    bool Playing() const { return effect ? effect->isPlaying() : player && player->Mode() == 2; }
    void Start() {
        try {
            if (effect) effect->play();
            else if (player) player->Play();
        } catch (const EMCIDeviceError&) {  // no output: the sound is not heard
        }
    }
};

class TSounds {
public:
    RSound* Find(const std::string& file);
    bool AnyPlaying() const {
        for (const auto& [name, sound] : sounds_)
            if (sound && sound->Playing()) return true;
        return false;
    }

private:
    std::map<std::string, std::unique_ptr<RSound>> sounds_;  // by host path; null: cannot play
};

RSound* TSounds::Find(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    if (!host) return nullptr;
    auto [it, fresh] = sounds_.try_emplace(*host);
    if (!fresh) return it->second.get();
    auto sound = std::make_unique<RSound>();
    if (IsPcmWav(QString::fromStdString(*host))) {
        sound->effect = std::make_unique<QSoundEffect>();
        sound->effect->setSource(QUrl::fromLocalFile(QString::fromStdString(*host)));
    } else {
        sound->player = std::make_unique<TMPlayer>();
        sound->player->FileName = file;
        sound->player->AutoRewind = true;
        try {
            sound->player->Open();
        } catch (const EMCIDeviceError&) {
            return nullptr;  // it stays null: a file that cannot play is not tried again
        }
    }
    it->second = std::move(sound);
    return it->second.get();
}

TSounds& Sounds() {
    static TSounds* sounds = [] {
        auto* s = new TSounds;
        // The sounds go before the application object does.
        QObject::connect(qApp, &QObject::destroyed, [s] { delete s; });
        return s;
    }();
    return *sounds;
}

}  // namespace

bool ButtonSoundPlaying() { return Sounds().AnyPlaying(); }

void PlayButtonSound(const std::string& file) {
    if (Sounds().AnyPlaying()) return;
    if (RSound* sound = Sounds().Find(file)) sound->Start();
}

void PreloadButtonSound(const std::string& file) { Sounds().Find(file); }

// The sound may take a moment to start; it has played when it started and stopped again, or when
// it never started within a second.
void PlaySoundToEnd(const std::string& file) {
    RSound* sound = Sounds().Find(file);
    if (!sound) return;
    sound->Start();
    QEventLoop loop;
    QTimer poll;
    int waited = 0;
    bool started = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        started |= sound->Playing();
        waited += 10;
        if ((started && !sound->Playing()) || (!started && waited >= 1000) || waited >= 10000) loop.quit();
    });
    poll.start(10);
    loop.exec();
}
