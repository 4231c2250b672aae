#pragma once
// Helpers of the RAR library tests: the real archives, temporary folders, running an archive
// through the five calls, CRCs of written files, and patching RAR 1.5-4 headers.
#include <cstdint>
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
};

// Opens the archive, reads every header and processes each entry; stops at the first header
// that is not ERAR_SUCCESS (or after 100 of them).
TRun RunArchive(const std::string& path, const TRunOptions& options = {});
const TListed* Find(const TRun& run, const std::string& name);

// Recomputes the checksum of the RAR 1.5-4 block header at offset.
void FixRar4HeaderCrc(std::string& bytes, size_t offset);
