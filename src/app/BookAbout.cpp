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
#include "skin/AboutBox.h"

void TBookAbout::Show() {
    if (!box_) {
        TDynamicStringArray lines;
        std::vector<uint8_t> bytes;
        if (!bundle_ || bundle_->ReadBundleEntry("About.cfs", bytes) <= 0) return;
        DecodeCfsLines(bytes.data(), bytes.size(), lines, true);
        RAboutHost host;
        host.loadPicture = [this](const std::string& name) { return window_.LoadPicture(name); };
        host.playSound = [this](const std::string& sound) {
            if (!sound.empty() && sound != "no" && window_.ButtonSoundsOn()) PlayButtonSound(ProgramDir() + sound);
        };
        host.openLink = [](const std::string& target) { ShellOpen(ToQt(target)); };
        host.hintsShown = [this] { return window_.HintsShown(); };
        host.animation = animation_;
        host.tickers = SuperTimerTickers();
        box_ = new TAboutBox(&window_.ControlsWindow(), ReadAboutDescription(lines), std::move(host));
    }
    box_->ShowModal();
}

void TBookAbout::Close() {
    if (box_ && box_->isVisible()) box_->reject();
}
