#pragma once
// TReadBin: the configuration bundle (Zaz.dhl). It reads the bundle's directory once and then
// serves entries by name, compared case-insensitively under the CP1251 locale; the first entry
// in directory order wins. Each read opens the file anew (inside a disc image, reads only the
// entry's blocks); nothing is cached.
#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryStream.h"

struct RBin {
    std::string name;  // CP1251
    int32_t offset = 0;
    int32_t size = 0;
    bool readable = true;  // false for an entry that lies beyond the end of the file
};
using TDynamicBinArray = std::vector<RBin>;

constexpr uint32_t kBundleMaxName = 256;

class TReadBin {
public:
    TReadBin() = default;

    // Reads the directory of the bundle at a path (mapped through the file access). Throws
    // EInOutError when the file is missing or its directory is short or holds a name longer than
    // 256 bytes. An entry that lies beyond the end of the file is listed but cannot be read.
    void OpenBundle(const std::string& fileName);
    bool BundleHas(const std::string& name) const;
    // Resizes buffer to the entry and fills it; returns the size, or -1 when the name is
    // absent or the read fails.
    int ReadBundleEntry(const std::string& name, std::vector<uint8_t>& buffer) const;
    // Replaces the stream's content with the entry, positioned at 0; false (stream untouched)
    // when the name is absent or the read fails.
    bool ReadBundleStream(const std::string& name, TMemoryStream& stream) const;

    const std::string& FileName() const { return fileName_; }
    const TDynamicBinArray& Directory() const { return directory_; }

private:
    const RBin* Find(const std::string& name) const;
    bool ReadBytes(const RBin& entry, std::vector<uint8_t>& out) const;
    // The entry and its bytes; null, with a diagnostic line, when it is absent or unreadable.
    const RBin* Fetch(const std::string& name, std::vector<uint8_t>& bytes) const;

    std::string fileName_;
    std::string hostPath_;
    bool inImage_ = false;  // read in place from the disc image of the book's files
    TDynamicBinArray directory_;
};
