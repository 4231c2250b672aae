// The main window's options: the dialog made once while the window is built, which loads the
// preferences; the boxes the book can use; the preferences the window reads; the page fonts.
#include "app/MainForm.h"
#include "html/HtmlFrame.h"
#include "media/SlideImage.h"
#include "settings/FormOptions.h"

namespace {

bool isSet(const std::string& value) { return !value.empty() && value != "no"; }

// Whether any button of any screen has a sound.
bool anyButtonSound(const TInterfaceDescription& elements) {
    for (const auto& screen : elements.ScreenButtons)
        for (const RBtn& button : screen)
            if (isSet(button.sound)) return true;
    return false;
}

}  // namespace

// The slide settings reach the slide show at once; the font button opens the page font dialog.
void TMainForm::BuildOptions() {
    ROptionsHost host;
    host.runSlideShow = [this](bool run) {
        if (TSlideImage* slides = media_ ? media_->Slides() : nullptr) slides->SetRunSlideShow(run);
    };
    host.slideShowTime = [this](int seconds) {
        if (TSlideImage* slides = media_ ? media_->Slides() : nullptr) slides->SetSlideShowTime(seconds);
    };
    host.imageSequence = [this](int sequence) {
        if (TSlideImage* slides = media_ ? media_->Slides() : nullptr) slides->SetImageSequence(sequence);
    };
    host.chooseFont = [this] { ChooseFont(); };
    // No interface declares playlists, so the player's page never shows.
    options_ = new TFormOptions(this, false, !elements_.Images.empty(), std::move(host));
    options_->EnableClip(isSet(start_.keys.rolic));
    options_->EnableWav(anyButtonSound(elements_));
}

bool TMainForm::ButtonSoundsOn() const { return !options_ || options_->Values().wav; }

// The thesaurus window always shows its hints.
bool TMainForm::HintsShown() const { return InThesaurusWindow() || !options_ || options_->Values().hint; }

void TMainForm::Options() {
    if (options_) options_->ShowOptions();
}

void TMainForm::ChooseFont() {
    if (htmlFrame_) htmlFrame_->ChooseFont();
}
