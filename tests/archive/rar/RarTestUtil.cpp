#include "archive/rar/RarTestUtil.h"

#include <zlib.h>

#include <fstream>
#include <sstream>

std::string RealRar(const std::string& name) { return std::string(REALDATA_RAR) + "/" + name; }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

uint32_t Crc(const std::string& bytes) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size())));
}

TRun RunArchive(const std::string& path, const TRunOptions& options) {
    TRun run;
    RAROpenArchiveData data;
    data.ArcName = path;
    data.OpenMode = options.mode;
    TRarHandle handle = RAROpenArchive(data);
    run.open = data.OpenResult;
    if (!handle) return run;
    RarUseBackend(handle, options.backend);
    RARSetChangeVolProc(handle, [&](const std::string& volume, int mode) {
        if (mode == RAR_VOL_NOTIFY) {
            run.notified.push_back(volume);
            return 1;
        }
        run.asked.push_back(volume);
        if (!options.copyWhenAsked.empty()) WriteBytes(volume, ReadBytes(options.copyWhenAsked));
        return options.answer;
    });
    RARHeaderData header;
    for (int i = 0; i < 100; ++i) {
        run.end = RARReadHeader(handle, header);
        if (run.end != ERAR_SUCCESS) break;
        TListed entry{header.FileName, header.Flags, header.UnpSize, header.FileTime, header.FileCRC};
        entry.processed = RARProcessFile(handle, options.operation, options.dest);
        run.entries.push_back(entry);
    }
    RARCloseArchive(handle);
    return run;
}

const TListed* Find(const TRun& run, const std::string& name) {
    for (const TListed& entry : run.entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

void FixRar4HeaderCrc(std::string& bytes, size_t offset) {
    const size_t size = static_cast<unsigned char>(bytes[offset + 5]) | static_cast<unsigned char>(bytes[offset + 6]) << 8;
    const uint32_t crc = Crc(bytes.substr(offset + 2, size - 2));
    bytes[offset] = static_cast<char>(crc & 0xFF);
    bytes[offset + 1] = static_cast<char>((crc >> 8) & 0xFF);
}
