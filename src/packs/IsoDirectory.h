#pragma once
// The ISO 9660 structures a disc image's index is read from: volume descriptors and the
// directory records of a folder. The bytes are the image's and may be anything, so every field
// is read only after its record and its block were seen to hold it. Qt-free.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr uint32_t kIsoBlock = 2048;
constexpr uint32_t kIsoFirstDescriptor = 16;

// How a tree spells its names: ISO 9660 identifiers (with a Rock Ridge name taken when a record
// carries one) or Joliet's UCS-2.
enum class TIsoNames { Plain, Joliet };

// What a volume descriptor block is, and the extent of the root folder it names.
struct RIsoDescriptor {
    enum TKind { Primary, Joliet, Other, Terminator } kind = Other;
    uint32_t rootLsn = 0;
    uint32_t rootSize = 0;
};

// One directory record; the folder's own "." and ".." are not reported.
struct RIsoRecord {
    std::string name;     // CP1251, without the ";1" version; "?" for what CP1251 cannot spell
    bool spelled = true;  // false when the name had characters CP1251 lacks
    uint32_t lsn = 0;
    uint32_t size = 0;
    bool directory = false;
    bool multiExtent = false;  // one part of a file stored in several extents
};

// The descriptor a block holds; nothing when it is none (no "CD001").
std::optional<RIsoDescriptor> ParseDescriptor(std::string_view block);

// Reads the records of a folder: extent holds its whole blocks, size is the folder's data
// length, and records start below it. A length of 0 pads the rest of a block. False when a
// record is malformed (shorter than its fixed part, past its block, or with a name past its
// end); the records before it are in out then.
bool ParseDirectory(std::string_view extent, uint32_t size, TIsoNames names, std::vector<RIsoRecord>& out);
