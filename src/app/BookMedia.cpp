#include "app/BookMedia.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "app/SuperTimer.h"
#include "base/GlobalPaths.h"
#include "media/AviPlayer.h"
#include "media/BackgroundMusic.h"
#include "media/ButtonSound.h"
#include "media/Install.h"
#include "media/SlideImage.h"
#include "media/Sound.h"
#include "media/StartClip.h"
#include "platform/hostpaths/Drives.h"
#include "settings/FormOptions.h"
#include "rules/InterfaceDescription.h"
#include "rules/WindowKeys.h"

namespace {

bool isSet(const std::string& key) { return !key.empty() && key != "no"; }

}  // namespace

void InstallBookCodecs(const std::string& codecs, bool clipAtStart) {
    if (codecs.find("indeo5") != std::string::npos && clipAtStart) InstallIndeo();
    if (codecs.find("mpegaudio") != std::string::npos) InstallLayer3Codec();
}

// The music player, the clip player with its areas and the picture areas.
TBookMedia::TBookMedia(QWidget& window, IMediaHost& host, const TInterfaceDescription& elements, const RWindowKeys& keys,
                       TFormOptions& options)
    : QObject(&window), window_(window), host_(host), options_(options), keys_(keys) {
    music_ = std::make_unique<TBackgroundMusic>(this, keys.bgSoundDef, options.Values().bgSound);
    music_->OnChanged = [this](bool on) { options_.SetBGSound(on); };
    sound_ = std::make_unique<TSound>(&window, elements.Clips, music_.get(), static_cast<ISoundHost&>(*this));
    BuildSlides(elements);
}

TBookMedia::~TBookMedia() { Stop(); }

void TBookMedia::OpenPageIn(const std::string& page, int view) {
    if (!page.empty()) host_.OpenPageIn(page, view);
}

void TBookMedia::InstallMpegDriver() { ::InstallMpegDriver(); }

// The picture areas with the slide show's stored settings.
void TBookMedia::BuildSlides(const TInterfaceDescription& elements) {
    if (elements.Images.empty()) return;
    const ROptions& o = options_.Values();
    const RSlideSettings slide{o.runSlideShow, o.slideShowTime, o.imageSequence};
    slides_ = std::make_unique<TSlideImage>(&window_, elements.Images, slide, [this] { return host_.CurrentScreen(); },
                                            [this] { host_.PointerLeftSkin(); });
}

void TBookMedia::PlayStartClipThen(std::function<void()> open) {
    if (!isSet(keys_.rolic) || !options_.Values().clip) return open();
    RStartClipHost host;
    host.installMpegDriver = ::InstallMpegDriver;
    host.finished = [this, open = std::move(open)] {
        if (startClip_) startClip_->deleteLater();
        open();
    };
    startClip_ = new TStartClip(ProgramDir() + keys_.rolic, isSet(keys_.background), std::move(host));
}

void TBookMedia::StartMusic() {
    if (!music_ || !music_->On()) return;
    music_->Start();
}

void TBookMedia::FadeMusicOutThen(std::function<void()> then) {
    if (!music_) return then();
    if (music_->On() && music_->Player().Opened()) music_->Stop(true);
    music_->WhenStopped(std::move(then));
}

// The closing sequence has faded the music out already.
void TBookMedia::Stop() {
    if (music_ && music_->On() && music_->Player().Opened()) music_->Stop(false);
    delete startClip_.data();
    clipStartTimer_.reset();
    avi_.reset();
    slides_.reset();
    sound_.reset();
    music_.reset();
}

void TBookMedia::PlayLinkSound(const std::string& path) {
    if (sound_) sound_->PlayMedia(path, "", 3);
}

// A dropped sound plays as a sound link does.
bool TBookMedia::DropSound(const std::string& lowerName, const std::string& file) {
    for (const char* kind : {".wav", ".mp3", ".mpa"}) {
        if (lowerName.find(kind) == std::string::npos) continue;
        PlayLinkSound(file);
        return true;
    }
    return false;
}

void TBookMedia::ScreenChanged() {
    if (sound_) sound_->ShowClipAreas();
    if (slides_) slides_->ShowSlides();
}

void TBookMedia::PlaySound(const std::string& file) { PlayButtonSound(file); }

void TSilentMedia::PlaySound(const std::string& file) { PlayButtonSound(file); }

// "bgsound": turning the music on closes the clip player first.
void TBookMedia::ToggleBackgroundSound() {
    if (!music_) return;
    if (!music_->On() && sound_) sound_->Close();
    music_->Toggle();
}

void TBookMedia::PlayerCommand(const std::string& operation) {
    if (!sound_) return;
    try {
        if (operation == "play") sound_->PlayMedia("", "", 0);
        else if (operation == "stop") sound_->Stop();
        else if (operation == "pause") {
            sound_->SetNotify(false);
            sound_->Pause();
        } else if (operation == "stepforward") sound_->StepForward();
        else if (operation == "stepback") sound_->StepBack();
    } catch (const EMCIDeviceError&) {  // a closed player: nothing to do
    }
}

void TBookMedia::PlayClip(const std::string& file, const std::string& page) {
    if (sound_) sound_->PlayMedia(file, page, 4);
}

void TBookMedia::NextPicture() {
    if (slides_) slides_->NextPicture();
}

void TBookMedia::PrevPicture() {
    if (slides_) slides_->PreviousPicture();
}
