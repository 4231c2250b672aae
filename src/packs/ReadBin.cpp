#include "packs/ReadBin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/FileErrors.h"
#include "packs/BookFiles.h"
#include "packs/FileAccess.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readExact(std::FILE* f, void* buffer, size_t count) { return std::fread(buffer, 1, count, f) == count; }

uint32_t readU32(std::FILE* f) {
    unsigned char b[4];
    if (!readExact(f, b, 4)) throw EInOutError("Read beyond end of file");
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// A bundle inside the disc image as a file: reads go to the image, a range at a time.
struct RImageBundle {
    std::string path;
    uint64_t size = 0;
    uint64_t position = 0;
};

ssize_t readImageBundle(void* cookie, char* buffer, size_t size) {
    auto* bundle = static_cast<RImageBundle*>(cookie);
    const IBookFiles* image = BookFiles().Image();
    const size_t count = static_cast<size_t>(std::min<uint64_t>(size, bundle->size - std::min(bundle->position, bundle->size)));
    std::string part;
    if (count == 0) return 0;
    if (!image || !image->ReadPart(bundle->path, bundle->position, count, part)) return -1;
    std::memcpy(buffer, part.data(), count);
    bundle->position += count;
    return static_cast<ssize_t>(count);
}

int seekImageBundle(void* cookie, off64_t* offset, int whence) {
    auto* bundle = static_cast<RImageBundle*>(cookie);
    const int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? int64_t(bundle->position) : int64_t(bundle->size);
    if (*offset < -base) return -1;
    bundle->position = uint64_t(base + *offset);
    *offset = static_cast<off64_t>(bundle->position);
    return 0;
}

int closeImageBundle(void* cookie) {
    delete static_cast<RImageBundle*>(cookie);
    return 0;
}

// The bundle as a file: in the disc image, else the host file.
File openBundle(bool inImage, const std::string& fileName, const std::string& hostPath) {
    if (!inImage) return File(std::fopen(hostPath.c_str(), "rb"));
    const IBookFiles* image = BookFiles().Image();
    const auto size = image ? image->SizeOf(fileName) : std::nullopt;
    if (!size) return nullptr;
    auto* cookie = new RImageBundle{fileName, *size, 0};
    std::FILE* f = ::fopencookie(cookie, "r", {readImageBundle, nullptr, seekImageBundle, closeImageBundle});
    if (!f) delete cookie;
    return File(f);
}

} // namespace

void TReadBin::OpenBundle(const std::string& fileName) {
    fileName_ = fileName;
    directory_.clear();
    const IBookFiles* image = BookFiles().Image();
    inImage_ = image && image->Has(fileName);
    if (!inImage_) {
        const auto host = FileAccess().FindFile(fileName);
        if (!host) throw EInOutError("File not found: " + fileName);
        hostPath_ = *host;
    }
    File f(openBundle(inImage_, fileName_, hostPath_));
    if (!f) throw EInOutError("File not found: " + fileName);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw EInOutError("Cannot read " + fileName);
    const long fileSize = std::ftell(f.get());
    std::rewind(f.get());

    unsigned char countBytes[2];
    if (!readExact(f.get(), countBytes, 2)) throw EInOutError("Read beyond end of file");
    const unsigned count = countBytes[0] | countBytes[1] << 8;
    TDynamicBinArray dir(count);
    for (RBin& entry : dir) {
        const uint32_t length = readU32(f.get());
        if (length > kBundleMaxName) throw EInOutError("Bundle entry name longer than 256 bytes");
        entry.name.resize(length);
        if (!readExact(f.get(), entry.name.data(), length)) throw EInOutError("Read beyond end of file");
        const uint32_t offset = readU32(f.get());
        const uint32_t size = readU32(f.get());
        // An entry beyond the end is kept, so that it still hides a later one of its name, but
        // it cannot be read; the rest of the bundle reads as ever.
        entry.readable = uint64_t(offset) + size <= uint64_t(fileSize);
        if (!entry.readable) Diagnose(TDiagnosticLayer::Packs, "a bundle entry lies beyond the end of the file: " + entry.name);
        entry.offset = entry.readable ? static_cast<int32_t>(offset) : 0;
        entry.size = entry.readable ? static_cast<int32_t>(size) : 0;
    }
    directory_ = std::move(dir);
}

const RBin* TReadBin::Find(const std::string& name) const {
    for (const RBin& entry : directory_)
        if (Cp1251::equalsNoCase(entry.name, name)) return &entry;
    return nullptr;
}

bool TReadBin::BundleHas(const std::string& name) const { return Find(name) != nullptr; }

bool TReadBin::ReadBytes(const RBin& entry, std::vector<uint8_t>& out) const {
    if (!entry.readable) return false;
    File f(openBundle(inImage_, fileName_, hostPath_));
    if (!f || std::fseek(f.get(), entry.offset, SEEK_SET) != 0) return false;
    out.resize(static_cast<size_t>(entry.size));
    return readExact(f.get(), out.data(), out.size());
}

const RBin* TReadBin::Fetch(const std::string& name, std::vector<uint8_t>& bytes) const {
    const RBin* entry = Find(name);
    if (!entry) Diagnose(TDiagnosticLayer::Packs, "not in the bundle: " + name);
    else if (!ReadBytes(*entry, bytes)) Diagnose(TDiagnosticLayer::Packs, "cannot read from the bundle: " + name);
    else return entry;
    return nullptr;
}

int TReadBin::ReadBundleEntry(const std::string& name, std::vector<uint8_t>& buffer) const {
    std::vector<uint8_t> bytes;
    const RBin* entry = Fetch(name, bytes);
    if (!entry) return -1;
    buffer = std::move(bytes);
    return entry->size;
}

bool TReadBin::ReadBundleStream(const std::string& name, TMemoryStream& stream) const {
    std::vector<uint8_t> bytes;
    if (!Fetch(name, bytes)) return false;
    stream.Assign(bytes.data(), bytes.size());
    return true;
}
