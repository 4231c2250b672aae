#include "packs/IsoTestUtil.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::string MakeIsoImage(const std::string& folder, const std::string& imagePath, bool joliet) {
    const std::string command = "xorriso -report_about FAILURE -as mkisofs -input-charset utf-8 " +
                                std::string(joliet ? "-J -joliet-long " : "") + "-quiet -o '" + imagePath + "' '" + folder +
                                "' >/dev/null 2>&1";
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
