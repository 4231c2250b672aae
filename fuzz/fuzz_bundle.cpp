// Opens the input as a configuration bundle and reads every entry by name. The reader only
// takes file paths, so the input goes to one scratch file per process that is rewritten for
// each run. A bad bundle must fail with EInOutError; once it opened, every listed entry lies
// inside the file and must read back as exactly its bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/Cp1251.h"
#include "ScratchFile.h"
#include "base/FileErrors.h"
#include "packs/CfsCodec.h"
#include "packs/ReadBin.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool endsWithCfs(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return tail == ".cfs";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TScratchFile scratch("bundle", ".dhl", data, size);
    if (!scratch.Written()) std::abort();
    TReadBin bin;
    try {
        bin.OpenBundle(scratch.Path());
    } catch (const EInOutError&) {
        return 0;
    }
    const TDynamicBinArray& directory = bin.Directory();
    // Each look-up scans the directory and each read reopens the file; a sample of the
    // entries covers the reader without making large directories quadratic.
    const size_t limit = directory.size() < 128 ? directory.size() : 128;
    for (size_t i = 0; i < limit; ++i) {
        const RBin& listed = directory[i];
        check(listed.offset >= 0 && listed.size >= 0 && uint64_t(listed.offset) + uint64_t(listed.size) <= size);
        check(bin.BundleHas(listed.name));
        // The first entry in directory order with an equal name answers, with its own bytes; one
        // that lies beyond the end of the file cannot be read.
        size_t first = 0;
        while (first < i && !Cp1251::equalsNoCase(directory[first].name, listed.name)) ++first;
        const RBin& found = directory[first];
        std::vector<uint8_t> buffer(3, 0xEE);
        if (!found.readable) {
            TMemoryStream untouched;
            check(bin.ReadBundleEntry(listed.name, buffer) == -1 && buffer.size() == 3);
            check(!bin.ReadBundleStream(listed.name, untouched) && untouched.Size() == 0);
            continue;
        }

        // Both readers give the same bytes.
        const int got = bin.ReadBundleEntry(listed.name, buffer);
        check(got >= 0 && size_t(got) == buffer.size());
        TMemoryStream stream;
        check(bin.ReadBundleStream(listed.name, stream));
        check(stream.Position() == 0 && stream.Size() == buffer.size());
        check(buffer.empty() || std::memcmp(stream.Data(), buffer.data(), buffer.size()) == 0);
        check(got == found.size);
        check(got == 0 || std::memcmp(buffer.data(), data + found.offset, size_t(got)) == 0);
        if (endsWithCfs(listed.name)) {
            TDynamicStringArray lines;
            DecodeCfsLines(buffer.data(), buffer.size(), lines, true);
        }
    }

    // An absent name is -1, and leaves the caller's stream as it was.
    const std::string missing = "\x01no such entry\x02.cfs";
    if (!bin.BundleHas(missing)) {
        std::vector<uint8_t> buffer(3, 0xEE);
        check(bin.ReadBundleEntry(missing, buffer) == -1);
        TMemoryStream stream;
        const char before[] = "previous";
        stream.Write(before, sizeof before - 1);
        stream.Seek(3);
        check(!bin.ReadBundleStream(missing, stream));
        check(stream.Size() == sizeof before - 1 && stream.Position() == 3);
        check(std::memcmp(stream.Data(), before, sizeof before - 1) == 0);
    }
    return 0;
}
