// Reads the input as an interface description, the way start-up does: scrambled-text lines,
// the window keys, then every element. Nothing in a description may crash the reader or make
// it keep elements outside the screens it allows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/GlobalPaths.h"
#include "packs/CfsCodec.h"
#include "rules/InterfaceDescription.h"
#include "rules/WindowKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetCdRoot("d:\\");
    SetProgramDir("d:\\run\\");
    // The input is the plain text: scramble it as the bundle stores it and decode it again.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string scrambled = EncodeCfs(text, 7);
    TDynamicStringArray lines;
    DecodeCfsLines(reinterpret_cast<const uint8_t*>(scrambled.data()), scrambled.size(), lines, true);
    const RWindowKeys keys = ReadWindowKeys(lines);
    const TInterfaceDescription elements = ReadElements(lines, keys);
    if (elements.ScreenButtons.size() > size_t(kMaxScreens) || elements.ScreenSwitchesOne.size() > size_t(kMaxScreens) ||
        elements.ScreenSwitchesGrp.size() > size_t(kMaxScreens) || elements.ScreenBackgrounds.size() > size_t(kMaxScreens))
        std::abort();
    return 0;
}
