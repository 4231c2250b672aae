#include "packs/BookFiles.h"

#include <set>

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"
#include "base/WinPath.h"
#include "packs/FileAccess.h"

std::optional<uint64_t> IBookFiles::SizeOf(const std::string& path) const {
    TMemoryStream stream;
    if (!Read(path, stream)) return std::nullopt;
    return stream.Size();
}

bool IBookFiles::ReadPart(const std::string& path, uint64_t offset, size_t count, std::string& out) const {
    TMemoryStream stream;
    if (!Read(path, stream) || offset > stream.Size() || count > stream.Size() - offset) return false;
    out.assign(stream.View().substr(static_cast<size_t>(offset), count));
    return true;
}

bool TDiscFolder::Has(const std::string& path) const { return FileAccess().FindFile(path).has_value(); }

bool TDiscFolder::Read(const std::string& path, TMemoryStream& stream) const {
    const auto host = FileAccess().FindFile(path);
    const auto bytes = host ? ReadHostFile(*host) : std::nullopt;
    if (!bytes) return false;
    stream.Assign(bytes->data(), bytes->size());
    return true;
}

namespace {

// Deeper folders are not followed: a link back up the tree would otherwise never end.
constexpr int kMaxListDepth = 64;

void ListInto(const std::string& root, const std::string& relative, int depth, TDynamicStringArray& out) {
    if (depth > kMaxListDepth) return;
    const auto entries = FileAccess().ListFolder(root + relative);
    if (!entries) return;
    for (const RFolderEntry& entry : *entries) {
        if (!entry.directory) {
            out.push_back(relative + entry.name);
            continue;
        }
        const std::string sub = relative + entry.name + "\\";
        out.push_back(sub);
        ListInto(root, sub, depth + 1, out);
    }
}

} // namespace

TDynamicStringArray TDiscFolder::List(const std::string& folder) const {
    TDynamicStringArray out;
    if (!folder.empty()) ListInto(WinPath::WithBackslash(folder), "", 0, out);
    return out;
}

bool TBookFiles::Has(const std::string& path) const {
    return (pack_ && pack_->Has(path)) || (image_ && image_->Has(path)) || disc_.Has(path);
}

void TBookFiles::Read(const std::string& path, TMemoryStream& stream) const {
    for (const IBookFiles* source : {pack_, image_, static_cast<const IBookFiles*>(&disc_)}) {
        // Every page and picture comes through here: the path is looked up once when it reads.
        if (!source) continue;
        if (source->Read(path, stream)) return;
        if (!source->Has(path)) continue;
        Diagnose(TDiagnosticLayer::Packs, (source == pack_ ? "damaged in the pack: " : "cannot read: ") + path);
        throw EFOpenError("Cannot open file \"" + path + (source == pack_ ? "\": damaged in the pack" : "\". Cannot read"));
    }
    Diagnose(TDiagnosticLayer::Packs, "neither in the pack nor on the disc: " + path);
    throw EFOpenError("Cannot open file \"" + path + "\". No such file");
}

TDynamicStringArray TBookFiles::List(const std::string& folder) const {
    TDynamicStringArray out;
    std::set<std::string> seen;
    for (const IBookFiles* source : {pack_, image_, static_cast<const IBookFiles*>(&disc_)}) {
        if (!source) continue;
        for (std::string& path : source->List(folder)) {
            std::string key;
            for (const char c : path) key += static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
            if (seen.insert(key).second) out.push_back(std::move(path));
        }
    }
    return out;
}

TBookFiles& BookFiles() {
    static TBookFiles files;
    return files;
}
