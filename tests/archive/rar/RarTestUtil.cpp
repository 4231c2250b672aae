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
        if (options.beforeProcess) options.beforeProcess(header.FileName);
        const int operation = size_t(i) < options.operations.size() ? options.operations[size_t(i)] : options.operation;
        entry.processed = RARProcessFile(handle, operation, options.dest);
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

namespace {

std::string vint(uint64_t value) {
    std::string out;
    do {
        out += static_cast<char>((value & 0x7F) | (value > 0x7F ? 0x80 : 0));
        value >>= 7;
    } while (value > 0);
    return out;
}

std::string le32(uint32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// A header block: the CRC32 of what follows it, the header's size, the header.
std::string block5(const std::string& header) {
    const std::string sized = vint(header.size()) + header;
    return le32(Crc(sized)) + sized;
}

} // namespace

std::string MakeRar5(const std::vector<TRar5Entry>& entries) {
    std::string out("Rar!\x1A\x07\x01\x00", 8);
    out += block5(vint(1) + vint(0) + vint(0));  // the main header: no flags
    for (const TRar5Entry& e : entries) {
        std::string extra;
        if (e.redirection) {
            const std::string record = vint(5) + vint(e.redirection) + vint(0) + vint(e.target.size()) + e.target;
            extra = vint(record.size()) + record;
        }
        std::string h = vint(2) + vint(extra.empty() ? 0x2 : 0x3);  // a file header with data (and extra area)
        if (!extra.empty()) h += vint(extra.size());
        h += vint(e.data.size());
        h += vint(e.directory ? 0x7 : 0x6) + vint(e.data.size()) + vint(e.directory ? 040755 : 0100644);
        h += le32(1600000000) + le32(Crc(e.data)) + vint(0) + vint(1) + vint(e.name.size()) + e.name + extra;
        out += block5(h) + e.data;
    }
    return out + block5(vint(5) + vint(0) + vint(0));
}
