#include "app/BookSounds.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/GlobalPaths.h"
#include "media/ButtonSound.h"
#include "packs/CfsCodec.h"
#include "packs/ReadBin.h"
#include "rules/AboutDescription.h"
#include "rules/DialogReader.h"
#include "rules/InterfaceDescription.h"

namespace {

void Preload(const std::string& name) {
    if (!name.empty() && name != "no") PreloadButtonSound(ProgramDir() + name);
}

} // namespace

void PreloadBookSounds(const TInterfaceDescription& elements, const TDialogDescription* dialog, const TReadBin* bundle) {
    for (const auto& screen : elements.ScreenButtons)
        for (const auto& button : screen) Preload(button.sound);
    for (const auto& screen : elements.ScreenSwitchesOne)
        for (const auto& one : screen) Preload(one.sound);
    for (const auto& screen : elements.ScreenSwitchesGrp)
        for (const auto& grp : screen) Preload(grp.sound);
    if (dialog)
        for (const RDialogPage& page : dialog->pages) {
            for (const RBtn& button : page.buttons) Preload(button.sound);
            for (const RSwthGrp& one : page.switches) Preload(one.sound);
        }
    std::vector<uint8_t> bytes;
    if (!bundle || bundle->ReadBundleEntry("About.cfs", bytes) <= 0) return;
    TDynamicStringArray lines;
    DecodeCfsLines(bytes.data(), bytes.size(), lines, true);
    for (const RBtn& button : ReadAboutDescription(lines).buttons) Preload(button.sound);
}
