#include "app/BookAbout.h"

#include <QWidget>

#include "app/SkinControlsHost.h"
#include "app/SuperTicker.h"
#include "base/GlobalPaths.h"
#include "media/ButtonSound.h"
#include "packs/CfsCodec.h"
#include "packs/ReadBin.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "rules/AboutDescription.h"

void TBookAbout::Show() {
    if (!box_) {
        TDynamicStringArray lines;
        std::vector<uint8_t> bytes;
        if (!bundle_ || bundle_->ReadBundleEntry("About.cfs", bytes) <= 0) return;
        DecodeCfsLines(bytes.data(), bytes.size(), lines, true);
        box_ = new TAboutBox(&window_.ControlsWindow(), ReadAboutDescription(lines), static_cast<IAboutHost&>(*this),
                             SuperTimerTickers());
    }
    box_->ShowModal();
}

QImage TBookAbout::LoadPicture(const std::string& name) const { return window_.LoadPicture(name); }

void TBookAbout::PlaySound(const std::string& sound) {
    if (!sound.empty() && sound != "no" && window_.ButtonSoundsOn()) PlayButtonSound(ProgramDir() + sound);
}

void TBookAbout::OpenLink(const std::string& target) { ShellOpen(ToQt(target)); }

bool TBookAbout::HintsShown() const { return window_.HintsShown(); }

void TBookAbout::Close() {
    if (box_ && box_->isVisible()) box_->reject();
}
