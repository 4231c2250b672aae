// Opens the input as a disc image and reads everything its index holds. The reader only takes
// file paths, so the input goes to one scratch file per process that is rewritten for each
// run. A bad image must fail with EFOpenError; once it opened, every entry lies inside the
// image, every folder is listed once, and every file reads back at its size.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "ScratchFile.h"
#include "base/FileErrors.h"
#include "packs/IsoImage.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TScratchFile scratch("image", ".iso", data, size);
    if (!scratch.Written()) std::abort();
    std::unique_ptr<TIsoImage> image;
    try {
        image = TIsoImage::Open(scratch.Path());
    } catch (const EFOpenError&) {
        return 0;
    }
    check(image->Count() >= 1 && image->Entry(0).directory);
    // Every entry but the root is the child of exactly one folder, so the listing holds each once.
    size_t children = 0, read = 0;
    for (size_t i = 0; i < image->Count(); ++i) {
        const RIsoEntry& entry = image->Entry(static_cast<int>(i));
        children += entry.children.size();
        if (entry.directory || read++ >= 64) continue;
        // Raw tracks hold less data than bytes, so a file fits in the input in any kind.
        check(entry.size <= size);
        std::string bytes;
        if (image->Read(static_cast<int>(i), bytes)) check(bytes.size() == entry.size);
    }
    check(children + 1 == image->Count());
    check(image->List(0).size() + 1 == image->Count());
    return 0;
}
