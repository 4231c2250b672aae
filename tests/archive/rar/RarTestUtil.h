#pragma once
// Helpers of the RAR library tests: the real archives, temporary folders, running an archive
// through the five calls, CRCs of written files, and patching RAR 1.5-4 headers.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/rar/RarLibrary.h"
#include "archive/rar/RarReader.h"
#include "packs/PackTestUtil.h"  // MakeTempDir

std::string RealRar(const std::string& name);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
uint32_t Crc(const std::string& bytes);

struct TListed {
    std::string name;
    unsigned flags = 0;
    uint64_t size = 0;
    uint32_t time = 0;
    uint32_t crc = 0;
    int processed = ERAR_SUCCESS;  // what RARProcessFile gave
};

struct TRun {
    int open = ERAR_SUCCESS;
    std::vector<TListed> entries;  // the headers read
    int end = ERAR_SUCCESS;        // what the last RARReadHeader gave
    std::vector<std::string> asked, notified;  // the volume callback's calls
};

struct TRunOptions {
    int mode = RAR_OM_EXTRACT;
    int operation = RAR_TEST;
    std::string dest;
    TRarBackend backend = TRarBackend::Auto;
    int answer = 0;                   // the callback's answer to RAR_VOL_ASK
    std::string copyWhenAsked;        // a file the callback puts in place of the missing volume
    std::vector<int> operations;      // per entry in archive order, operation for the ones after
    std::function<void(const std::string&)> beforeProcess;  // called with each entry's name
};

// Opens the archive, reads every header and processes each entry; stops at the first header
// that is not ERAR_SUCCESS (or after 100 of them).
TRun RunArchive(const std::string& path, const TRunOptions& options = {});
const TListed* Find(const TRun& run, const std::string& name);

// Recomputes the checksum of the RAR 1.5-4 block header at offset.
void FixRar4HeaderCrc(std::string& bytes, size_t offset);

// One entry of a crafted RAR5 archive: stored data, or a link record of the given kind
// (1 Unix symbolic link, 4 hard link, 5 file copy) naming target.
struct TRar5Entry {
    std::string name;  // UTF-8, "/" between folders
    std::string data;
    bool directory = false;
    unsigned redirection = 0;
    std::string target;
};

inline TRar5Entry Rar5File(const std::string& name, const std::string& data) { return {name, data, false, 0, ""}; }
inline TRar5Entry Rar5Folder(const std::string& name) { return {name, "", true, 0, ""}; }
inline TRar5Entry Rar5Link(const std::string& name, unsigned kind, const std::string& target) {
    return {name, "", false, kind, target};
}

// A RAR5 archive of stored entries made by Unix, with a modification time and CRC each.
std::string MakeRar5(const std::vector<TRar5Entry>& entries);
