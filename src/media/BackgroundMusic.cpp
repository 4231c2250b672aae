#include "media/BackgroundMusic.h"

#include <utility>

#include "base/GlobalPaths.h"
#include "platform/SettingsStore.h"

namespace {
constexpr int kFadeOutWaitMs = 10000;
}  // namespace

TBackgroundMusic::TBackgroundMusic(QObject* owner, TDynamicStringArray songs, bool on,
                                   std::unique_ptr<IMediaDevice> device)
    : QObject(owner), songs_(std::move(songs)), player_(this, std::move(device)),
      fade_([this](int level) { player_.SetVolume(double(level) / TVolumeFade::kTop); }),
      on_(on && !songs_.empty()) {
    player_.OnNotify = [this](TMPlayer*) { NextSong(); };
    fade_.Ended = [this](bool up) {
        if (!up && stopping_) FinishStop();
    };
    stopBound_.setSingleShot(true);
    stopBound_.setInterval(kFadeOutWaitMs);
    connect(&stopBound_, &QTimer::timeout, this, [this] {
        if (stopping_) FinishStop();
    });
}

void TBackgroundMusic::SetOn(bool on) {
    on_ = on;
    if (OnChanged) OnChanged(on);
}

// The list parser already made the songs paths under the program folder; a bare name is taken
// relative to it.
std::string TBackgroundMusic::SongFile() const {
    const std::string& song = songs_[size_t(song_)];
    return song.find(":\\") != std::string::npos ? song : ProgramDir() + song;
}

// The song first; when its read fails the place is not read either.
void TBackgroundMusic::ReadPlace() {
    TSettingsStore settings(AppTitle());
    int32_t song = 0, position = 0;
    if (!settings.ReadInteger("BGSoundSong", song)) return;
    song_ = song;
    if (settings.ReadInteger("BGSoundPos", position)) position_ = position;
}

void TBackgroundMusic::WritePlace() {
    TSettingsStore settings(AppTitle());
    settings.WriteInteger("BGSoundSong", song_);
    settings.WriteInteger("BGSoundPos", int32_t(player_.Position()));
}

void TBackgroundMusic::Start() {
    if (stopping_) FinishStop();
    if (songs_.empty()) return SetOn(false);
    ReadPlace();
    if (song_ < 0 || size_t(song_) >= songs_.size()) song_ = 0;
    player_.FileName = SongFile();
    player_.OpenThen([this](int error) { PlayOpened(error, true); });
}

// The song just opened plays, fading in from the stored place or from its start; a song that
// cannot be opened or played turns the music off.
void TBackgroundMusic::PlayOpened(int error, bool fromPlace) {
    try {
        if (!error) {
            if (fromPlace) {
                // A length not known yet is no end: the device takes the place once it knows.
                if (position_ < 0 || (player_.Length() > 0 && position_ >= player_.Length())) position_ = 0;
                player_.Seek(position_);
                fade_.Start(true);
            }
            player_.Play();
            return;
        }
    } catch (const EMCIDeviceError&) {
    }
    if (fromPlace) fade_.Stop();
    SetOn(false);
}

void TBackgroundMusic::Stop(bool fade) {
    if (stopping_ && fade) return;  // already fading out
    if (!player_.Opened()) return FinishStop();  // nothing plays (a song may be opening): the place stays
    WritePlace();
    position_ = int32_t(player_.Position());
    if (fade && player_.Mode() == 2) {
        stopping_ = true;
        fade_.Start(false);
        stopBound_.start();
        return;
    }
    FinishStop();
}

void TBackgroundMusic::FinishStop() {
    stopping_ = false;
    stopBound_.stop();
    fade_.Stop();
    player_.Close();
    player_.SetVolume(1.0);
    for (const auto& then : std::exchange(whenStopped_, {})) then();
}

void TBackgroundMusic::WhenStopped(std::function<void()> then) {
    if (stopping_) whenStopped_.push_back(std::move(then));
    else then();
}

void TBackgroundMusic::Toggle() {
    if (on_) {
        SetOn(false);
        Stop(true);
    } else {
        SetOn(true);
        Start();
    }
    TSettingsStore(AppTitle()).WriteBool("BGSound", on_);
}

// A song that ended (not one stopped or replaced) is followed by the next, from its start.
void TBackgroundMusic::NextSong() {
    if (player_.NotifyValue() != 0 || songs_.empty() || stopping_) return;
    song_ = size_t(song_) + 1 < songs_.size() ? song_ + 1 : 0;
    player_.FileName = SongFile();
    player_.OpenThen([this](int error) { PlayOpened(error, false); });
}
