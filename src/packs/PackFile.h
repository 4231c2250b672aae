#pragma once
// The interface pack (interface.dat): a read-only directory tree of optionally compressed
// entries. TPack reads one pack file and is one container of the book's files; the program keeps
// exactly one open through OpenPack and friends below, which puts it first in BookFiles(), and
// tests and the bookpack tool open as many as they like.
//
// Every count, index, offset and size in the file is checked when it is used. A pack whose
// header, directory block or root record is damaged fails to open with EFOpenError; damage
// further down fails only what reaches it: a folder record outside the entry table, or an entry
// naming a missing record, reads as a missing folder, a record reached twice is listed once, and
// a damaged entry reads as "not readable". Not thread-safe beyond concurrent const use.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/DynamicStringArray.h"
#include "base/MemoryStream.h"
#include "packs/BookFiles.h"

enum : uint32_t { kPackKindFile = 1, kPackKindDirectory = 2 };

struct RPackDirectory {
    uint32_t first = 0;  // index of the first entry
    uint32_t count = 0;  // number of contiguous entries
};

struct RPackEntry {
    std::string_view name;  // stored (normalised) name, up to its NUL
    uint32_t offset = 0;    // file: data offset in the data area; directory: record index
    uint32_t stored = 0;
    uint32_t unpacked = 0;
    uint32_t kind = 0;
};

// Largest unpacked size accepted for one entry and for the directory block, and the largest
// ratio a zlib stream can reach.
constexpr uint64_t kPackMaxEntrySize = 1ull << 30;
constexpr uint64_t kPackMaxDirectorySize = 256ull << 20;
constexpr uint64_t kZlibMaxRatio = 1032;
// Longest path and path component that can be looked up.
constexpr size_t kPackMaxPath = 1024;
constexpr size_t kPackMaxComponent = 100;

// Normalises a pack name byte by byte: "/" -> "\", a-z upper-cased, bytes 0xE0 and above
// lose 0x20 (CP1251 а-я -> А-Я); ё (0xB8) and all other bytes stay.
std::string NormalizePackName(std::string_view name);

class TPack : public IBookFiles {
public:
    // Opens a pack file at a host path. Throws EFOpenError when the file cannot be read or its
    // header or directory is damaged.
    static std::unique_ptr<TPack> Open(const std::string& hostPath);
    // Reads a pack held in memory (tests, fuzzing).
    static std::unique_ptr<TPack> FromBytes(std::string bytes);
    ~TPack() override;

    void SetRootPrefix(std::string_view prefix) { rootPrefix_ = NormalizePackName(prefix); }
    const std::string& RootPrefix() const { return rootPrefix_; }

    // Entry index of the file at path, or -1.
    int Resolve(std::string_view path) const;
    // Reads a file entry's whole content into stream, positioned at 0. False when the index is
    // not a file or the entry is damaged (outside the file, dishonest size, bad zlib data).
    bool ReadEntry(int index, TMemoryStream& stream) const;
    // Relative paths of all file entries, depth first, names beginning with "." skipped.
    TDynamicStringArray ListFiles() const;
    // Visits every entry below the root, depth first, with its relative path (directories
    // without a trailing "\"). Hidden names are visited only when asked for.
    void Walk(const std::function<void(const std::string& path, const RPackEntry& entry)>& visit,
              bool includeHidden) const;

    // IBookFiles: paths resolve as Resolve does; a folder lists its files and folders (hidden
    // names skipped) in their stored, normalised names.
    bool Has(const std::string& path) const override { return Resolve(path) >= 0; }
    bool Read(const std::string& path, TMemoryStream& stream) const override { return ReadEntry(Resolve(path), stream); }
    TDynamicStringArray List(const std::string& folder) const override;

    const std::vector<RPackEntry>& Entries() const { return entries_; }
    const std::vector<RPackDirectory>& Directories() const { return directories_; }
    uint32_t RootIndex() const { return root_; }
    uint32_t Reserved() const { return reserved_; }
    uint64_t DataOrigin() const { return dataOrigin_; }

private:
    struct Mapping;
    struct Key {
        uint32_t directory;
        std::string_view name;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const noexcept;
    };

    TPack() = default;
    void Load();
    void LoadTables();
    void IndexDirectories();
    bool Usable(uint32_t directory) const { return directory < usable_.size() && usable_[directory]; }
    int Lookup(uint32_t directory, std::string_view name, uint32_t kind) const;
    // Follows the folders of path: the directory record reached and the last component (which
    // points into normal); false when a folder on the way is missing or a name is too long.
    bool Locate(std::string_view path, std::string& normal, uint32_t& directory, std::string_view& last) const;
    void WalkFrom(uint32_t directory, const std::function<void(const std::string&, const RPackEntry&)>& visit,
                  bool includeHidden) const;

    std::unique_ptr<Mapping> mapping_;
    std::string_view file_;     // the whole pack file
    std::string block_;         // the unpacked directory block; entry names point into it
    std::vector<RPackDirectory> directories_;
    std::vector<RPackEntry> entries_;
    std::unordered_map<Key, uint32_t, KeyHash> index_;  // first entry of each name per indexed directory
    std::vector<bool> usable_;   // per record: its entries lie inside the entry table
    std::vector<bool> indexed_;  // per record: its names are in index_ (else looked up by a scan)
    uint32_t reserved_ = 0;
    uint32_t root_ = 0;
    uint32_t current_ = 0;
    uint64_t dataOrigin_ = 0;
    std::string rootPrefix_;
};

// The program's single pack. OpenPack maps path through the file access, replaces any open
// pack and clears the root prefix; it returns 0 or throws EFOpenError.
int OpenPack(const std::string& path);
void ClosePack();
TPack* CurrentPack();
void SetPackRootPrefix(std::string_view prefix);
int ResolvePackPath(std::string_view path);
// True when the file exists on disk (tested first) or in the pack.
bool PackFileExists(const std::string& path);
TDynamicStringArray ListPackFiles();
