#include "packs/IsoTestUtil.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::string MakeIsoImage(const std::string& folder, const std::string& imagePath, bool joliet, bool rockRidge) {
    const std::string command = "xorriso -report_about FAILURE -as mkisofs -input-charset utf-8 " +
                                std::string(joliet ? "-J -joliet-long " : "") + (rockRidge ? "" : "--norock ") + "-quiet -o '" +
                                imagePath + "' '" + folder + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("xorriso failed: " + command);
    return imagePath;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RawTrack(const std::string& iso) {
    std::string raw;
    for (size_t at = 0; at + 2048 <= iso.size(); at += 2048) {
        std::string sector(2352, '\0');
        for (int i = 1; i <= 10; ++i) sector[i] = '\xff';
        const size_t lba = at / 2048 + 150;  // minutes, seconds, frames in BCD
        const auto bcd = [](size_t v) { return static_cast<char>((v / 10) << 4 | v % 10); };
        sector[12] = bcd(lba / 4500);
        sector[13] = bcd(lba / 75 % 60);
        sector[14] = bcd(lba % 75);
        sector[15] = 1;
        sector.replace(16, 2048, iso, at, 2048);
        raw += sector;
    }
    return raw;
}

void SetRecordField(char* record, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<char>(value >> (8 * i));
        record[offset + 7 - i] = static_cast<char>(value >> (8 * i));
    }
}

namespace {
uint32_t le32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}
}  // namespace

void EditRootRecords(std::string& iso, const std::function<void(char* record, bool directory)>& edit) {
    for (size_t vd = 16 * 2048; vd + 2048 <= iso.size() && uint8_t(iso[vd]) != 255; vd += 2048) {
        if (iso[vd] != 1 && iso[vd] != 2) continue;
        const size_t root = size_t(le32(iso, vd + 156 + 2)) * 2048;
        const size_t length = le32(iso, vd + 156 + 10);
        size_t at = root;
        for (int n = 0; at < root + length && at < iso.size(); ++n) {
            const uint8_t size = uint8_t(iso[at]);
            if (size == 0) {  // records do not cross blocks: go on in the next one
                at = (at / 2048 + 1) * 2048;
                continue;
            }
            if (n >= 2) edit(&iso[at], (iso[at + 25] & 2) != 0);
            at += size;
        }
    }
}

std::string DirRecord(std::string_view id, uint32_t lsn, uint32_t size, uint8_t flags, std::string_view systemUse,
                      size_t length) {
    std::string record(33, '\0');
    SetRecordField(record.data(), 2, lsn);
    SetRecordField(record.data(), 10, size);
    record[25] = static_cast<char>(flags);
    record[28] = 1;  // volume sequence number
    record[32] = static_cast<char>(id.size());
    record.append(id);
    if (id.size() % 2 == 0) record += '\0';
    record.append(systemUse);
    if (record.size() < length) record.resize(length, '\0');
    record[0] = static_cast<char>(record.size());
    return record;
}

std::string Dots(uint32_t lsn, uint32_t size) {
    return DirRecord(std::string(1, '\0'), lsn, size, 2) + DirRecord("\1", lsn, size, 2);
}

std::string Ucs2(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c & 0xff);
    }
    return out;
}

std::string HandImage(const std::vector<std::string>& blocks, uint32_t rootSize, bool joliet) {
    const auto block = [](std::string_view bytes) {
        std::string out(bytes.substr(0, 2048));
        out.resize(2048, '\0');
        return out;
    };
    const auto descriptor = [&](int type, std::string_view escapes) {
        std::string vd = block(std::string(1, static_cast<char>(type)) + "CD001\1");
        vd.replace(88, escapes.size(), escapes);
        vd.replace(156, 34, DirRecord(std::string(1, '\0'), kHandRoot, rootSize, 2));
        return vd;
    };
    std::string iso(16 * 2048, '\0');
    iso += descriptor(1, "");
    if (joliet) iso += descriptor(2, "%/E");
    iso += block(std::string(1, '\xff') + "CD001\1");
    iso.resize(kHandRoot * 2048, '\0');
    for (const std::string& bytes : blocks) iso += block(bytes);
    return iso;
}
