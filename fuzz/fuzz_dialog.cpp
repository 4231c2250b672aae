// Reads the input as the message dialog's description, the way the window does: scrambled-text
// lines decoded lower-case, then the pages. Nothing in it may crash the reader or make it keep
// more pages than it allows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/GlobalPaths.h"
#include "packs/CfsCodec.h"
#include "rules/DialogReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetCdRoot("d:\\");
    SetProgramDir("d:\\run\\");
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string scrambled = EncodeCfs(text, 7);
    TDynamicStringArray lines;
    DecodeCfsLines(reinterpret_cast<const uint8_t*>(scrambled.data()), scrambled.size(), lines, true);
    const TDialogDescription dialog = ReadDialogDescription(lines);
    if (dialog.pages.size() > size_t(kMaxDialogPages)) std::abort();
    return 0;
}
