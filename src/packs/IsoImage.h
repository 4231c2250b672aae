#pragma once
// A CD image read as the disc it holds: the ISO 9660 file system (Joliet names preferred, so
// the Cyrillic names of Windows discs come through; else plain names, or Rock Ridge ones where a
// record carries them) of an ".iso", a raw track (".mdf", found by its volume descriptor), a
// ".bin" + ".cue" pair or an ".nrg". libcdio opens the image kinds and reads blocks; the volume
// descriptors and directory records are parsed here, every field checked against its record
// and block (packs/IsoDirectory).
//
// Open reads the directory tree once into an index and nothing else: file data is read when it
// is asked for, in blocks, so the image is never loaded whole. Names are CP1251 in the index;
// paths inside the image are "\"-separated and matched without regard to letter case. A loop of
// folders is followed once; entries whose data lie beyond the end of the image, that claim
// absurd sizes, span several extents or have names that cannot stand as one host file name
// (separators, ":", NUL, "..", characters CP1251 lacks), and folders whose records are
// malformed, are left out of the index (a damaged root folder fails the opening). Not
// thread-safe: reads share the image's position.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/DynamicStringArray.h"
#include "packs/IsoDirectory.h"

struct RIsoEntry {
    std::string name;  // CP1251, without the ";1" version
    uint32_t lsn = 0;  // first block of the data
    uint32_t size = 0;
    bool directory = false;
    std::vector<int> children;  // directories: entry indexes, in the image's order
};

// Most entries and deepest folders the index takes; a directory beyond is not read.
constexpr size_t kIsoMaxEntries = 1'000'000;
constexpr int kIsoMaxDepth = 64;
// Largest folder read, and most volume descriptors looked at.
constexpr uint32_t kIsoMaxFolder = 16u << 20;
constexpr uint32_t kIsoMaxDescriptors = 64;

class TIsoImage {
public:
    // Opens the image at a host path. Throws EFOpenError with a one-line reason when the file
    // cannot be read or holds no ISO 9660 file system.
    static std::unique_ptr<TIsoImage> Open(const std::string& hostPath);
    ~TIsoImage();

    // Entry index of the file or folder at the "\"-separated path (any case; "" is the root),
    // or -1.
    int Find(std::string_view path) const;
    int Child(int directory, std::string_view name) const;
    const RIsoEntry& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
    size_t Count() const { return entries_.size(); }

    // Reads bytes [offset, offset + count) of a file entry into out. False on a read failure.
    bool ReadRange(int index, uint64_t offset, size_t count, std::string& out) const;
    // The whole file. False when it is no file or cannot be read.
    bool Read(int index, std::string& out) const;
    // Copies a file to a new host file, a block run at a time. False (and no file left) on failure.
    bool CopyTo(int index, const std::string& hostPath) const;
    // Everything below a folder, depth first, relative to it; sub-folders end with "\".
    TDynamicStringArray List(int directory) const;

private:
    struct Backend;
    TIsoImage();
    std::optional<RIsoDescriptor> FindRoot() const;
    // Reads a folder entry's records and those of the folders below into the index; false when
    // the folder cannot be read.
    bool Index(int directory, int depth, std::set<uint32_t>& visited);
    bool Admit(const RIsoRecord& record, int depth, std::set<uint32_t>& visited) const;
    bool ReadFolder(uint32_t lsn, uint32_t size, std::vector<RIsoRecord>& records) const;
    bool Fits(uint32_t lsn, uint32_t size) const;

    std::unique_ptr<Backend> backend_;
    std::vector<RIsoEntry> entries_;  // [0] is the root
    uint64_t blocks_ = 0;             // blocks readable in the image
    mutable uint64_t folderBytesRead_ = 0;  // by the opening, which stops at a few times the image
    TIsoNames names_ = TIsoNames::Plain;
};

// The program folder inside an image: the shallowest folder holding Zaz.dhl ("run" first among
// equals), as a "\"-separated path ("" for the root); nothing when there is none.
std::optional<std::string> FindProgramFolder(const TIsoImage& image);

// True for the names disc images go by: ".iso", ".bin", ".cue", ".nrg", ".mdf", any case.
bool IsDiscImageName(const std::string& hostPath);
