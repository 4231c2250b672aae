// The main window's sound: button sounds, the background music and the clip player, with the
// commands, page links and dropped files that reach them.
#include <QApplication>

#include "app/BookSounds.h"
#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "media/BackgroundMusic.h"
#include "media/ButtonSound.h"
#include "media/Install.h"
#include "media/SlideImage.h"
#include "media/StartClip.h"
#include "media/Sound.h"
#include "settings/FormOptions.h"
#include "skin/SkinDialog.h"

// The codecs the description asks for; the Indeo codec only where clips play at start.
void TMainForm::InstallCodecs() {
    const bool clip = options_ && options_->Values().clip;
    if (start_.keys.codec.find("indeo5") != std::string::npos && clip) InstallIndeo();
    if (start_.keys.codec.find("mpegaudio") != std::string::npos) InstallLayer3Codec();
}

// The music player and the clip player with its areas; every button sound is loaded ahead.
void TMainForm::BuildMedia() {
    music_ = std::make_unique<TBackgroundMusic>(this, start_.keys.bgSoundDef, options_->Values().bgSound);
    music_->OnChanged = [this](bool on) { options_->SetBGSound(on); };
    RSoundHost host;
    host.currentScreen = [this] { return CurrentScreen(); };
    host.openPage = [this](const std::string& page, int view) {
        if (pageFrame_ && !page.empty()) pageFrame_->OpenInElement(page, view);
    };
    host.pointerOver = [this] { FormMouseMove(QPoint(-1, -1), Qt::NoModifier); };
    host.installMpegDriver = InstallMpegDriver;
    sound_ = std::make_unique<TSound>(this, elements_.Clips, music_.get(), std::move(host));
    connect(this, &TMainForm::ScreenChanged, sound_.get(), [this] { sound_->ShowClipAreas(); });
    linkServices_->PlaySound = [this](const std::string& path) { sound_->PlayMedia(path, "", 3); };
    BuildSlides();
    const TCoolDialog* dialog = controls_ ? controls_->Dialog() : nullptr;
    if (ButtonSoundsOn()) PreloadBookSounds(elements_, dialog ? &dialog->Description() : nullptr, start_.bundle.get());
}

// The picture areas with the slide show's stored settings.
void TMainForm::BuildSlides() {
    if (elements_.Images.empty()) return;
    const ROptions& o = options_->Values();
    const RSlideSettings slide{o.runSlideShow, o.slideShowTime, o.imageSequence};
    slides_ = std::make_unique<TSlideImage>(this, elements_.Images, slide, [this] { return CurrentScreen(); },
                                            [this] { FormMouseMove(QPoint(-1, -1), Qt::NoModifier); });
    connect(this, &TMainForm::ScreenChanged, slides_.get(), [this] { slides_->ShowSlides(); });
}

void TMainForm::NextPicture() {
    if (slides_) slides_->NextPicture();
}

void TMainForm::PrevPicture() {
    if (slides_) slides_->PreviousPicture();
}

void TMainForm::StartMusic() {
    if (!music_ || !music_->On()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    music_->Start();
    QApplication::restoreOverrideCursor();
}

void TMainForm::FadeMusicOutThen(std::function<void()> then) {
    if (!music_) return then();
    if (music_->On() && music_->Player().Opened()) music_->Stop(true);
    music_->WhenStopped(std::move(then));
}

// At shutdown the music still playing keeps its place for the next run (the closing sequence
// has faded it out already).
void TMainForm::StopMedia() {
    if (music_ && music_->On() && music_->Player().Opened()) music_->Stop(false);
    delete startClip_.data();
    slides_.reset();
    sound_.reset();
    music_.reset();
}

void TMainForm::PlaySound(const std::string& file) { PlayButtonSound(file); }

// "bgsound": turning the music on closes the clip player first.
void TMainForm::ToggleBackgroundSound() {
    if (!music_) return;
    if (!music_->On() && sound_) sound_->Close();
    music_->Toggle();
}

void TMainForm::PlayerCommand(const std::string& operation) {
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

void TMainForm::PlayClip(const std::string& file, const std::string& page) {
    if (sound_) sound_->PlayMedia(file, page, 4);
}

// A dropped sound plays as a sound link does.
bool TMainForm::DropSound(const std::string& lowerName, const std::string& file) {
    for (const char* kind : {".wav", ".mp3", ".mpa"}) {
        if (lowerName.find(kind) == std::string::npos) continue;
        if (sound_) sound_->PlayMedia(file, "", 3);
        return true;
    }
    return false;
}
