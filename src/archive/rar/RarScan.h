#pragma once
// Walks the block headers of one RAR volume without decompressing anything: the format, the main
// header's flags, each file header with what the decoding libraries do not report (CRC, host,
// packing version, encryption), and whether the set goes on in a further volume.
#include <cstdint>
#include <string>
#include <vector>

enum class TRarFormat { None, Rar14, Rar4, Rar5 };

struct TRarScanEntry {
    uint64_t offset = 0;      // of the entry's first header in its volume
    std::string name;         // as stored; UTF-8 when nameIsUtf8
    bool nameIsUtf8 = false;  // RAR5, or a RAR 1.5-4 name with the Unicode flag
    unsigned hostOs = 0;      // RAR 1.5-4: 0 DOS, 1 OS/2, 2 Windows, 3 Unix ...
    unsigned unpVer = 0;      // RAR 1.5-4: version needed to extract (20 = 2.0, 29 = 2.9)
    unsigned method = 0;      // RAR 1.5-4: 0x30 store ... 0x35 best
    uint64_t unpSize = 0;
    uint32_t dosTime = 0;  // RAR 1.5-4 only
    uint32_t crc = 0;
    bool hasCrc = false;
    bool directory = false;
    bool link = false;         // any kind of link, copies included
    uint64_t redirection = 0;  // RAR5: the link's kind (1, 2 symbolic, 3 junction, 4 hard, 5 file copy)
    std::string target;        // RAR5: what the link names, UTF-8 as stored
    bool encrypted = false;
    bool solid = false;        // continues the previous entry's compression
    bool splitBefore = false;  // continued from the previous volume
    bool splitAfter = false;   // continues in the next volume
};

struct TRarVolumeScan {
    TRarFormat format = TRarFormat::None;
    bool opened = false;            // a regular file that could be read
    bool mainBroken = false;        // no main header, or a cut or damaged one
    bool encryptedHeaders = false;  // nothing past the main header is readable without a password
    bool solid = false;
    bool volume = false;
    bool newNaming = false;  // volumes named "name.partN.rar"
    bool hasEnd = false;     // an end-of-archive block was found
    bool endNextVolume = false;
    int stop = 0;  // how the walk ended: ERAR_END_ARCHIVE, ERAR_EREAD (cut short) or ERAR_BAD_DATA
    std::vector<TRarScanEntry> entries;
};

TRarVolumeScan ScanRarVolume(const std::string& path);

enum class TRarNextVolume { No, Yes, IfPresent };
// Whether a volume follows this one: its end block says so, or its last file goes on; a volume
// with neither may still be followed by one that is there.
TRarNextVolume RarNextVolume(const TRarVolumeScan& scan);

// The entries of a set in archive order, each split file once (holding its last part's CRC).
std::vector<TRarScanEntry> MergeRarEntries(const std::vector<TRarVolumeScan>& volumes);

// The entry's name in CP1251 as the library hands it out; a name without Unicode is read in DOS
// code page 866 when oemNames, as UTF-8 otherwise.
std::string RarScanEntryName(const TRarScanEntry& entry, bool oemNames);
// Whether the entry's data is packed (not stored) by a RAR older than version (20 = RAR 2.0,
// 29 = RAR 2.9) as its RAR 1.5-4 header says; such data a decoder of that version cannot unpack.
bool RarPackedBefore(const TRarScanEntry& entry, unsigned version);
