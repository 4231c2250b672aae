// Opens the input as an interface pack and drives every reader over it: listing, walking,
// path resolution and reading every entry. A damaged pack must fail with EFOpenError and a
// damaged entry must read as "not readable"; anything else the sanitizers or the checks
// below catch is a fault.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FileErrors.h"
#include "packs/PackFile.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Resolving may only ever name a file entry.
int resolve(const TPack& pack, const std::string& path) {
    const int index = pack.Resolve(path);
    check(index == -1 || (index >= 0 && size_t(index) < pack.Entries().size() &&
                          pack.Entries()[size_t(index)].kind == kPackKindFile));
    return index;
}

void readResolved(const TPack& pack, const std::string& path) {
    const int index = resolve(pack, path);
    if (index < 0) return;
    TMemoryStream stream;
    if (pack.ReadEntry(index, stream)) check(stream.Position() == 0);
}

// Paths taken from the raw input: a pack's bytes often hold its own names.
std::vector<std::string> pathsFromInput(const uint8_t* data, size_t size) {
    std::vector<std::string> paths;
    const std::string bytes(reinterpret_cast<const char*>(data), size < 4096 ? size : 4096);
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size() && paths.size() < 16; ++i) {
        if (i == bytes.size() || bytes[i] == '\0') {
            if (i > start) paths.push_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return paths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<TPack> pack;
    try {
        pack = TPack::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const EFOpenError&) {
        return 0;
    }
    const auto& entries = pack->Entries();
    check(pack->RootIndex() < pack->Directories().size());

    size_t visitedAll = 0, visitedShown = 0, filesShown = 0;
    pack->Walk([&](const std::string&, const RPackEntry&) { ++visitedAll; }, true);
    pack->Walk([&](const std::string&, const RPackEntry& entry) {
        ++visitedShown;
        check(entry.name.empty() || entry.name.front() != '.');
        if (entry.kind == kPackKindFile) ++filesShown;
    }, false);
    // However the tree is damaged, a walk names an entry at most once.
    check(visitedAll <= entries.size() && visitedShown <= entries.size());

    const TDynamicStringArray files = pack->ListFiles();
    check(files.size() == filesShown);

    // Listed paths, as the program looks them up: relative, rooted, with a drive prefix, in
    // lower case and with forward slashes.
    pack->SetRootPrefix("d:\\");
    size_t tried = 0;
    for (const std::string& file : files) {
        if (++tried > 64) break;
        readResolved(*pack, file);
        resolve(*pack, "\\" + file);
        resolve(*pack, "D:/" + file);
        std::string lower = file;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        resolve(*pack, "d:\\" + lower);
        resolve(*pack, file + "\\x");
        resolve(*pack, file.substr(0, file.size() / 2));
    }
    for (const std::string& path : pathsFromInput(data, size)) {
        readResolved(*pack, path);
        resolve(*pack, "d:\\" + path);
    }
    resolve(*pack, "");
    resolve(*pack, "\\");
    resolve(*pack, "d:\\");
    resolve(*pack, "\\\\\\");
    resolve(*pack, std::string(kPackMaxPath + 1, 'A'));
    resolve(*pack, std::string(kPackMaxComponent + 1, 'A') + "\\A");

    // Every entry, bounded by the sizes it declares: a pack may legitimately name many
    // entries of a gigabyte each, and inflating them all is slow, not wrong.
    uint64_t budget = 256ull << 20;
    for (size_t i = 0; i < entries.size(); ++i) {
        const RPackEntry& entry = entries[i];
        const uint64_t cost = uint64_t(entry.unpacked) + entry.stored;
        if (entry.kind == kPackKindFile && cost > budget) continue;
        if (entry.kind == kPackKindFile) budget -= cost;
        TMemoryStream stream;
        const bool ok = pack->ReadEntry(static_cast<int>(i), stream);
        if (entry.kind != kPackKindFile) check(!ok);
        if (ok) {
            check(stream.Position() == 0);
            check(stream.Size() <= entry.unpacked);
            if (entry.stored == entry.unpacked) check(stream.Size() == entry.stored);
        }
    }
    TMemoryStream stream;
    check(!pack->ReadEntry(-1, stream));
    check(!pack->ReadEntry(static_cast<int>(entries.size()), stream));
    return 0;
}
