#pragma once
// The two decoders behind the RAR library, libarchive and libunarr, as one kind of reader: entries
// in archive order, and the data of the entry last returned.
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/rar/RarLibrary.h"
#include "archive/rar/RarScan.h"

struct TRarEntry {
    std::string name;  // CP1251, "\" between folders
    bool directory = false;
    bool link = false;  // a symbolic link or junction: listed, never written
    bool copy = false;  // a hard link or file copy: written as a copy of the entry copyOf names
    std::string copyOf;  // CP1251, "\" between folders
    bool encrypted = false;
    bool solid = false;
    uint64_t size = 0;
    bool hasTime = false;
    time_t mtime = 0;
    uint32_t dosTime = 0;
    uint32_t crc = 0;
};

// Takes decoded bytes; returns ERAR_SUCCESS or the error that stops the reading.
using TRarSink = std::function<int(const char* data, size_t size)>;

class TRarReader {
public:
    virtual ~TRarReader() = default;
    // ERAR_SUCCESS with the next entry, ERAR_END_ARCHIVE after the last, or an error.
    virtual int Next(TRarEntry& entry) = 0;
    // Decodes the entry Next returned last, checking its length and CRC; sink may be empty.
    virtual int Read(const TRarSink& sink) = 0;
};

// A volume set as found on the host, with what its headers say.
struct TRarSet {
    TRarFormat format = TRarFormat::None;
    std::vector<std::string> volumes;
    std::vector<TRarVolumeScan> scans;
    std::vector<TRarScanEntry> entries;  // merged over the volumes
    bool incomplete = false;             // a volume is missing: reading stops with ERAR_EOPEN there
    bool oemNames = false;               // names without Unicode are in DOS code page 866
};

// ERAR_SUCCESS and a reader, or the error that kept the set from opening.
int OpenLibarchiveReader(const TRarSet& set, std::unique_ptr<TRarReader>& reader);
int OpenUnarrReader(const TRarSet& set, std::unique_ptr<TRarReader>& reader);

// Which decoder an archive is read through; the library picks one per archive unless told.
enum class TRarBackend { Auto, Libarchive, Unarr };
// For tests: reads the archive through the given decoder. Call before the first RARReadHeader.
void RarUseBackend(TRarHandle handle, TRarBackend backend);
