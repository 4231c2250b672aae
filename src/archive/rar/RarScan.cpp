// The block walk of RAR 1.5-4 volumes (fixed little-endian fields, 16-bit header checksums) and
// of RAR5 volumes (variable-length integers, 32-bit header checksums). Only headers are read.
#include "archive/rar/RarScan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "archive/rar/RarLibrary.h"
#include "archive/rar/RarText.h"

namespace {

class TFileBytes {
public:
    explicit TFileBytes(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = uint64_t(st.st_size), regular_ = true;
    }
    ~TFileBytes() {
        if (fd_ >= 0) close(fd_);
    }
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;

    bool Usable() const { return fd_ >= 0 && regular_; }
    uint64_t Size() const { return size_; }
    // Exactly count bytes at offset, or false.
    bool Read(uint64_t offset, size_t count, std::string& out) const {
        if (offset > size_ || count > size_ - offset) return false;
        out.resize(count);
        size_t done = 0;
        while (done < count) {
            const ssize_t n = pread(fd_, out.data() + done, count - done, off_t(offset + done));
            if (n <= 0) return false;
            done += size_t(n);
        }
        return true;
    }

private:
    int fd_;
    uint64_t size_ = 0;
    bool regular_ = false;
};

unsigned u16(const std::string& b, size_t at) {
    return unsigned(static_cast<unsigned char>(b[at])) | unsigned(static_cast<unsigned char>(b[at + 1])) << 8;
}
uint32_t u32(const std::string& b, size_t at) { return uint32_t(u16(b, at)) | uint32_t(u16(b, at + 2)) << 16; }
uint32_t crcOf(const std::string& b, size_t from, size_t to) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(b.data()) + from, uInt(to - from)));
}

enum class TBlock { Ok, End, Cut, Bad };

// ---- RAR 1.5-4 ----

// One block header: 2-byte checksum, type, 2-byte flags, 2-byte size of the whole header.
TBlock readBlock4(const TFileBytes& file, uint64_t pos, std::string& block) {
    if (pos == file.Size()) return TBlock::End;
    if (!file.Read(pos, 7, block)) return TBlock::Cut;
    const unsigned size = u16(block, 5);
    if (size < 7) return TBlock::Bad;
    return file.Read(pos, size, block) ? TBlock::Ok : TBlock::Cut;
}

// The checksum covers the header from its type on; old archives may keep a comment or extra
// fields after the part it covers, so the fixed part alone is accepted too.
bool checksumOk4(const std::string& block, size_t fixedSize) {
    const unsigned stored = u16(block, 0);
    if ((crcOf(block, 2, block.size()) & 0xFFFF) == stored) return true;
    return fixedSize < block.size() && (crcOf(block, 2, fixedSize) & 0xFFFF) == stored;
}

bool parseFile4(const std::string& b, uint64_t offset, TRarScanEntry& e) {
    const unsigned flags = u16(b, 3);
    const size_t nameAt = (flags & 0x100) ? 40 : 32;
    if (b.size() < nameAt) return false;
    const size_t nameSize = u16(b, 26);
    if (nameAt + nameSize > b.size() || !checksumOk4(b, nameAt + nameSize)) return false;
    e.offset = offset;
    e.hostOs = static_cast<unsigned char>(b[15]);
    e.crc = u32(b, 16);
    e.hasCrc = true;
    e.dosTime = u32(b, 20);
    e.unpVer = static_cast<unsigned char>(b[24]);
    e.method = static_cast<unsigned char>(b[25]);
    e.unpSize = u32(b, 11) | ((flags & 0x100) ? uint64_t(u32(b, 36)) << 32 : 0);
    const std::string field = b.substr(nameAt, nameSize);
    e.nameIsUtf8 = (flags & 0x200) != 0;
    e.name = e.nameIsUtf8 ? RarUnicodeName(field) : field;
    e.directory = (flags & 0xE0) == 0xE0;
    e.link = (e.hostOs == 3 || e.hostOs == 5) && (u32(b, 28) & 0xF000) == 0xA000;
    e.encrypted = (flags & 0x04) != 0;
    e.solid = (flags & 0x10) != 0;
    e.splitBefore = (flags & 0x01) != 0;
    e.splitAfter = (flags & 0x02) != 0;
    return true;
}

void walkRar4(const TFileBytes& file, uint64_t pos, TRarVolumeScan& scan) {
    std::string b;
    for (;;) {
        const TBlock got = readBlock4(file, pos, b);
        if (got != TBlock::Ok) {
            scan.stop = got == TBlock::End ? ERAR_END_ARCHIVE : got == TBlock::Cut ? ERAR_EREAD : ERAR_BAD_DATA;
            return;
        }
        const unsigned type = static_cast<unsigned char>(b[2]);
        const unsigned flags = u16(b, 3);
        uint64_t data = 0;
        if (type == 0x74 || type == 0x7A || (flags & 0x8000)) {
            if (b.size() < 11) return void(scan.stop = ERAR_BAD_DATA);
            data = u32(b, 7) | ((flags & 0x100) && b.size() >= 36 ? uint64_t(u32(b, 32)) << 32 : 0);
        }
        if (type == 0x74) {
            TRarScanEntry entry;
            if (!parseFile4(b, pos, entry)) return void(scan.stop = ERAR_BAD_DATA);
            scan.entries.push_back(std::move(entry));
        } else if (type == 0x7B) {
            scan.hasEnd = true;
            scan.endNextVolume = (flags & 0x0001) != 0;
            return void(scan.stop = ERAR_END_ARCHIVE);
        }
        pos += b.size() + data;
        if (pos > file.Size()) return void(scan.stop = ERAR_EREAD);
    }
}

void scanRar4(const TFileBytes& file, TRarVolumeScan& scan) {
    std::string b;
    if (readBlock4(file, 7, b) != TBlock::Ok || b[2] != 0x73 || b.size() < 13 || !checksumOk4(b, 13)) {
        scan.mainBroken = true;
        return;
    }
    const unsigned flags = u16(b, 3);
    scan.volume = (flags & 0x0001) != 0;
    scan.solid = (flags & 0x0008) != 0;
    scan.newNaming = (flags & 0x0010) != 0;
    if (flags & 0x0080) {
        scan.encryptedHeaders = true;
        return;
    }
    walkRar4(file, 7 + b.size(), scan);
}

// ---- RAR5 ----

bool vint(const std::string& b, size_t& pos, size_t end, uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 70 && pos < end; shift += 7) {
        const auto byte = static_cast<unsigned char>(b[pos++]);
        if (shift < 64) value |= uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return true;
    }
    return false;
}

// One header: 4-byte checksum, its size as a variable-length integer, then the header itself
// (returned in head, without checksum and size).
TBlock readBlock5(const TFileBytes& file, uint64_t pos, std::string& head, uint64_t& next) {
    if (pos == file.Size()) return TBlock::End;
    std::string start;
    if (!file.Read(pos, size_t(std::min<uint64_t>(7, file.Size() - pos)), start) || start.size() < 6) return TBlock::Cut;
    size_t at = 4;
    uint64_t size = 0;
    if (!vint(start, at, start.size(), size) || size == 0 || size > (2u << 20)) return TBlock::Bad;
    std::string whole;
    if (!file.Read(pos, size_t(at + size), whole)) return TBlock::Cut;
    if (crcOf(whole, 4, whole.size()) != u32(whole, 0)) return TBlock::Bad;
    head = whole.substr(at);
    next = pos + at + size;
    return TBlock::Ok;
}

// A link record: its kind, flags, and the name of what it links to.
void readRedirection5(const std::string& h, size_t pos, size_t end, TRarScanEntry& e) {
    uint64_t flags = 0, length = 0;
    e.link = true;
    if (!vint(h, pos, end, e.redirection) || !vint(h, pos, end, flags) || !vint(h, pos, end, length) || length > end - pos)
        return;
    e.target = h.substr(pos, size_t(length));
}

// The extra area's records: size, type, data. Type 1 is file encryption, 5 a link.
void readExtra5(const std::string& h, size_t pos, size_t end, TRarScanEntry& e) {
    while (pos < end) {
        uint64_t size = 0, type = 0;
        if (!vint(h, pos, end, size) || size > end - pos) return;
        const size_t recordEnd = pos + size_t(size);
        if (!vint(h, pos, recordEnd, type)) return;
        if (type == 1) e.encrypted = true;
        if (type == 5) readRedirection5(h, pos, recordEnd, e);
        pos = recordEnd;
    }
}

bool parseFile5(const std::string& h, size_t pos, size_t bodyEnd, uint64_t headerFlags, TRarScanEntry& e) {
    uint64_t fileFlags = 0, size = 0, attributes = 0, info = 0, host = 0, nameSize = 0;
    if (!vint(h, pos, bodyEnd, fileFlags) || !vint(h, pos, bodyEnd, size) || !vint(h, pos, bodyEnd, attributes))
        return false;
    if (fileFlags & 0x2) pos += 4;  // modification time: libarchive reports it
    if (fileFlags & 0x4) {
        if (pos + 4 > bodyEnd) return false;
        e.crc = u32(h, pos);
        e.hasCrc = true;
        pos += 4;
    }
    if (pos > bodyEnd || !vint(h, pos, bodyEnd, info) || !vint(h, pos, bodyEnd, host) || !vint(h, pos, bodyEnd, nameSize) ||
        nameSize > bodyEnd - pos)
        return false;
    e.name = h.substr(pos, size_t(nameSize));
    e.nameIsUtf8 = true;
    e.hostOs = unsigned(host);
    e.unpSize = size;
    e.directory = (fileFlags & 0x1) != 0;
    e.solid = (info & 0x40) != 0;
    e.splitBefore = (headerFlags & 0x08) != 0;
    e.splitAfter = (headerFlags & 0x10) != 0;
    readExtra5(h, bodyEnd, h.size(), e);
    return true;
}

// The header's type, flags and the size of the data after it; false when the fields do not fit.
bool commonFields5(const std::string& h, size_t& pos, uint64_t& type, uint64_t& flags, size_t& bodyEnd, uint64_t& data) {
    uint64_t extra = 0;
    data = 0;
    if (!vint(h, pos, h.size(), type) || !vint(h, pos, h.size(), flags)) return false;
    if ((flags & 0x1) && !vint(h, pos, h.size(), extra)) return false;
    if ((flags & 0x2) && !vint(h, pos, h.size(), data)) return false;
    if (extra > h.size() - pos) return false;
    bodyEnd = h.size() - size_t(extra);
    return true;
}

void scanRar5(const TFileBytes& file, TRarVolumeScan& scan) {
    uint64_t pos = 8;
    for (bool first = true;; first = false) {
        std::string h;
        uint64_t next = 0, type = 0, flags = 0, data = 0;
        size_t at = 0, bodyEnd = 0;
        const TBlock got = readBlock5(file, pos, h, next);
        // The main header must be there with a good checksum; fields that do not fit are left to
        // libarchive, which reads what it can of such an archive.
        if (first && (got != TBlock::Ok || !vint(h, at, h.size(), type) || (type != 1 && type != 4)))
            return void(scan.mainBroken = true);
        at = 0;
        const bool fields = got == TBlock::Ok && commonFields5(h, at, type, flags, bodyEnd, data);
        if (!fields) {
            scan.stop = got == TBlock::End ? ERAR_END_ARCHIVE : got == TBlock::Cut ? ERAR_EREAD : ERAR_BAD_DATA;
            return;
        }
        uint64_t value = 0;
        if (type == 4) return void(scan.encryptedHeaders = true);
        if (type == 1 && vint(h, at, bodyEnd, value)) {
            scan.volume = (value & 0x1) != 0;
            scan.solid = (value & 0x4) != 0;
            scan.newNaming = true;
        } else if (type == 2) {
            TRarScanEntry entry;
            entry.offset = pos;
            if (!parseFile5(h, at, bodyEnd, flags, entry)) return void(scan.stop = ERAR_BAD_DATA);
            scan.entries.push_back(std::move(entry));
        } else if (type == 5) {
            scan.hasEnd = true;
            scan.endNextVolume = vint(h, at, bodyEnd, value) && (value & 0x1);
            return void(scan.stop = ERAR_END_ARCHIVE);
        }
        if (data > file.Size() - next) return void(scan.stop = ERAR_EREAD);
        pos = next + data;
    }
}

} // namespace

TRarVolumeScan ScanRarVolume(const std::string& path) {
    TRarVolumeScan scan;
    const TFileBytes file(path);
    std::string signature;
    if (!file.Usable()) return scan;
    scan.opened = true;
    file.Read(0, size_t(std::min<uint64_t>(8, file.Size())), signature);
    if (signature.compare(0, 7, "Rar!\x1A\x07\x00", 7) == 0) {
        scan.format = TRarFormat::Rar4;
        scanRar4(file, scan);
    } else if (signature == std::string("Rar!\x1A\x07\x01\x00", 8)) {
        scan.format = TRarFormat::Rar5;
        scanRar5(file, scan);
    } else if (signature.compare(0, 4, "RE~^") == 0) {
        scan.format = TRarFormat::Rar14;
    }
    return scan;
}

TRarNextVolume RarNextVolume(const TRarVolumeScan& scan) {
    if (scan.format == TRarFormat::None || !scan.volume || scan.mainBroken || scan.encryptedHeaders)
        return TRarNextVolume::No;
    if (scan.hasEnd) return scan.endNextVolume ? TRarNextVolume::Yes : TRarNextVolume::No;
    if (!scan.entries.empty() && scan.entries.back().splitAfter) return TRarNextVolume::Yes;
    return TRarNextVolume::IfPresent;
}

std::vector<TRarScanEntry> MergeRarEntries(const std::vector<TRarVolumeScan>& volumes) {
    std::vector<TRarScanEntry> merged;
    for (const TRarVolumeScan& volume : volumes) {
        for (const TRarScanEntry& part : volume.entries) {
            if (part.splitBefore && !merged.empty() && merged.back().splitAfter) {
                TRarScanEntry& entry = merged.back();
                entry.crc = part.crc;
                entry.hasCrc = part.hasCrc;
                entry.splitAfter = part.splitAfter;
                continue;
            }
            merged.push_back(part);
        }
    }
    return merged;
}

std::string RarScanEntryName(const TRarScanEntry& entry, bool oemNames) {
    std::string name = RarNameToCp1251(entry.nameIsUtf8 || !oemNames ? entry.name : Cp866ToUtf8(entry.name));
    while (name.size() > 1 && name.back() == '\\') name.pop_back();
    return name;
}

bool RarPackedBefore(const TRarScanEntry& entry, unsigned version) {
    return entry.unpVer != 0 && entry.unpVer < version && entry.method != 0x30 && !entry.directory;
}
