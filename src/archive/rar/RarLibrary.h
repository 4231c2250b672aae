#pragma once
// The RAR library the archive browser reads archives through: the five calls of the RAR
// format's own decompression library, with its result codes, implemented here on libarchive
// (RAR 1.5-4 and RAR5) and, for what libarchive refuses (solid RAR 1.5-4 archives, RAR 2.0
// compression), on libunarr. Qt-free; one thread at a time per handle.
//
// Names reach the caller in CP1251 with "\" between folders; a character CP1251 cannot hold
// becomes one substitute, the same in listing and extraction. Extraction never writes outside
// its destination folder: an entry whose name is absolute, climbs with "..", or would pass
// through a symbolic link is refused (ERAR_ECREATE) and nothing is written for it; symbolic link
// entries are listed and not written. A hard link (or file copy) entry is written as a copy of
// the entry it names, which must have been extracted earlier through the same handle; when it
// was not (missing, refused, skipped or failed) the link gives ERAR_ECREATE. The library never
// decrypts: an encrypted entry gives ERAR_MISSING_PASSWORD when extracted, encrypted headers at open.
#include <cstdint>
#include <functional>
#include <string>

constexpr int ERAR_SUCCESS = 0;
constexpr int ERAR_END_ARCHIVE = 10;
constexpr int ERAR_NO_MEMORY = 11;
constexpr int ERAR_BAD_DATA = 12;       // broken header (RARReadHeader), checksum error (RARProcessFile)
constexpr int ERAR_BAD_ARCHIVE = 13;
constexpr int ERAR_UNKNOWN_FORMAT = 14;
constexpr int ERAR_EOPEN = 15;          // also: a volume the callback refused
constexpr int ERAR_ECREATE = 16;        // also: an entry that would land outside the destination
constexpr int ERAR_ECLOSE = 17;
constexpr int ERAR_EREAD = 18;
constexpr int ERAR_EWRITE = 19;
constexpr int ERAR_MISSING_PASSWORD = 22;

constexpr int RAR_OM_LIST = 0;
constexpr int RAR_OM_EXTRACT = 1;
constexpr int RAR_SKIP = 0;
constexpr int RAR_TEST = 1;
constexpr int RAR_EXTRACT = 2;
constexpr int RAR_VOL_ASK = 0;     // the next volume is missing: 0 stops, anything else tries again
constexpr int RAR_VOL_NOTIFY = 1;  // a volume was opened: the answer is ignored
constexpr unsigned RHDF_DIRECTORY = 0xE0;  // Flags & 0xE0 == 0xE0 for a directory entry

struct RAROpenArchiveData {
    std::string ArcName;  // host path (UTF-8) of the archive or of its first volume
    int OpenMode = RAR_OM_LIST;
    int OpenResult = ERAR_SUCCESS;
};

struct RARHeaderData {
    std::string FileName;  // CP1251, folders separated by "\"
    unsigned Flags = 0;    // RHDF_DIRECTORY; 0x04 encrypted; 0x10 solid (packed on from the entry before)
    uint64_t UnpSize = 0;
    uint32_t FileTime = 0;  // DOS date-time, local time; 0 when the archive has none
    uint32_t FileCRC = 0;
};

// A volume name (host path, UTF-8) and RAR_VOL_ASK or RAR_VOL_NOTIFY.
using TChangeVolProc = std::function<int(const std::string& volume, int mode)>;

struct RRarArchive;
using TRarHandle = RRarArchive*;

// Null, with OpenResult set, when the archive cannot be opened.
TRarHandle RAROpenArchive(RAROpenArchiveData& data);
int RARCloseArchive(TRarHandle handle);
// ERAR_SUCCESS with the next entry, ERAR_END_ARCHIVE after the last, ERAR_BAD_DATA for a broken
// header (an entry without a name among them), another code for other failures.
int RARReadHeader(TRarHandle handle, RARHeaderData& header);
// RAR_SKIP or RAR_TEST reads past the entry; RAR_EXTRACT writes it below destPath (a host folder),
// creating the folders its name holds. A directory entry creates its folder. In an archive opened
// with RAR_OM_LIST every operation only moves past the entry.
int RARProcessFile(TRarHandle handle, int operation, const std::string& destPath);
void RARSetChangeVolProc(TRarHandle handle, TChangeVolProc callback);
