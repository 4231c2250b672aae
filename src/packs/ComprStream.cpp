#include "packs/ComprStream.h"

#include "base/FileErrors.h"
#include "packs/FileAccess.h"
#include "packs/PackFile.h"

TComprStream::TComprStream(const std::string& path, unsigned /*mode*/) {
    if (const TPack* pack = CurrentPack()) {
        const int index = pack->Resolve(path);
        if (index >= 0) {
            if (!pack->ReadEntry(index, *this)) throw EFOpenError("Cannot open file \"" + path + "\": damaged in the pack");
            return;
        }
    }
    const auto host = FileAccess().FindFile(path);
    if (!host) throw EFOpenError("Cannot open file \"" + path + "\". No such file");
    auto bytes = ReadHostFile(*host);
    if (!bytes) throw EFOpenError("Cannot open file \"" + path + "\". Cannot read");
    Assign(bytes->data(), bytes->size());
}
