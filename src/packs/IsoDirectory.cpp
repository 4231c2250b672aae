#include "packs/IsoDirectory.h"

#include <algorithm>

#include "base/Cp1251.h"

namespace {

// Offsets in a volume descriptor and in a directory record.
constexpr size_t kRootRecord = 156;
constexpr size_t kEscapes = 88;
constexpr size_t kExtent = 2;
constexpr size_t kDataLength = 10;
constexpr size_t kFlags = 25;
constexpr size_t kIdLength = 32;
constexpr size_t kIdentifier = 33;  // also the smallest record that holds a name
constexpr uint8_t kDirectoryFlag = 0x02;
constexpr uint8_t kMultiExtentFlag = 0x80;

uint32_t le32(std::string_view bytes, size_t at) {
    const auto byte = [&](size_t i) { return uint32_t(static_cast<uint8_t>(bytes[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

// Without the ";1" version and the "." an ISO name without extension carries.
void dropVersion(std::string& name) {
    if (const size_t semi = name.rfind(';'); semi != std::string::npos) {
        name.erase(semi);
        if (!name.empty() && name.back() == '.') name.pop_back();
    }
}

// A Joliet identifier (UCS-2, big-endian) in CP1251.
std::string jolietName(std::string_view id, bool& spelled) {
    std::string utf8;
    for (size_t i = 0; i + 1 < id.size(); i += 2)
        Cp1251::appendUtf8(utf8, char32_t(static_cast<uint8_t>(id[i])) << 8 | static_cast<uint8_t>(id[i + 1]));
    std::string name = Cp1251::fromUtf8(utf8, &spelled);
    spelled = spelled && id.size() % 2 == 0;
    dropVersion(name);
    return name;
}

// The Rock Ridge name a record's system use area carries: its "NM" entries joined, when the
// last of them ends the name. Continuation areas elsewhere on the disc are not followed.
std::optional<std::string> rockRidgeName(std::string_view area) {
    std::string name;
    for (size_t at = 0; at + 4 <= area.size();) {
        const size_t length = static_cast<uint8_t>(area[at + 2]);
        if (length < 4 || at + length > area.size()) break;
        const std::string_view entry = area.substr(at, length);
        if (entry.starts_with("ST")) break;  // the end of the entries
        const auto flags = length > 4 ? static_cast<uint8_t>(entry[4]) : 0;
        if (entry.starts_with("NM") && length > 4 && (flags & 0x06) == 0) {  // not "." or ".."
            name.append(entry.substr(5));
            if ((flags & 0x01) == 0) return name;  // no piece follows
        }
        at += length;
    }
    return std::nullopt;
}

// A plain identifier, or the record's Rock Ridge name when it has one CP1251 can spell.
std::string plainName(std::string_view record, std::string_view id) {
    const size_t area = kIdentifier + id.size() + (id.size() % 2 == 0 ? 1 : 0);  // after the pad byte
    if (area < record.size()) {
        if (const auto rr = rockRidgeName(record.substr(area))) {
            bool ok = false;
            std::string name = Cp1251::fromUtf8(*rr, &ok);
            if (ok && !name.empty()) return name;
        }
    }
    std::string name(id);
    dropVersion(name);
    return name;
}

// The entry a whole, checked record describes; continued tells whether the record before it
// was a part of a file in several extents, and is set for the next.
RIsoRecord entryOf(std::string_view record, TIsoNames names, bool& continued) {
    const auto flags = static_cast<uint8_t>(record[kFlags]);
    const std::string_view id = record.substr(kIdentifier, static_cast<uint8_t>(record[kIdLength]));
    RIsoRecord entry;
    entry.lsn = le32(record, kExtent);
    entry.size = le32(record, kDataLength);
    entry.directory = (flags & kDirectoryFlag) != 0;
    entry.multiExtent = (flags & kMultiExtentFlag) != 0 || continued;
    continued = (flags & kMultiExtentFlag) != 0;
    entry.name = names == TIsoNames::Joliet ? jolietName(id, entry.spelled) : plainName(record, id);
    return entry;
}

}  // namespace

std::optional<RIsoDescriptor> ParseDescriptor(std::string_view block) {
    if (block.size() < kIsoBlock || block.substr(1, 5) != "CD001") return std::nullopt;
    RIsoDescriptor descriptor;
    const auto type = static_cast<uint8_t>(block[0]);
    const std::string_view escapes = block.substr(kEscapes, 3);
    if (type == 255) descriptor.kind = RIsoDescriptor::Terminator;
    else if (type == 1) descriptor.kind = RIsoDescriptor::Primary;
    else if (type == 2 && (escapes == "%/@" || escapes == "%/C" || escapes == "%/E")) descriptor.kind = RIsoDescriptor::Joliet;
    if (descriptor.kind == RIsoDescriptor::Primary || descriptor.kind == RIsoDescriptor::Joliet) {
        descriptor.rootLsn = le32(block, kRootRecord + kExtent);
        descriptor.rootSize = le32(block, kRootRecord + kDataLength);
    }
    return descriptor;
}

bool ParseDirectory(std::string_view extent, uint32_t size, TIsoNames names, std::vector<RIsoRecord>& out) {
    bool continued = false;
    for (size_t at = 0; at < std::min<size_t>(size, extent.size());) {
        const size_t blockEnd = std::min<size_t>(extent.size(), (at / kIsoBlock + 1) * kIsoBlock);
        const size_t length = static_cast<uint8_t>(extent[at]);
        if (length == 0) {  // the rest of the block is padding
            at = blockEnd;
            continue;
        }
        if (length <= kIdentifier || at + length > blockEnd) return false;
        const std::string_view record = extent.substr(at, length);
        const size_t idLength = static_cast<uint8_t>(record[kIdLength]);
        if (idLength == 0 || kIdentifier + idLength > length) return false;
        at += length;
        if (idLength == 1 && (record[kIdentifier] == 0 || record[kIdentifier] == 1)) continue;  // "." and ".."
        out.push_back(entryOf(record, names, continued));
    }
    return true;
}
