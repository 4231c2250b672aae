#pragma once
// Writes configuration bundles (Zaz.dhl): a u16 entry count, then per entry a u32 name length,
// the CP1251 name, a u32 absolute offset and a u32 size, then the data.
#include <string>
#include <utility>
#include <vector>

struct RBundleItem {
    std::string name;  // CP1251, at most 256 bytes
    std::string data;  // stored as given (".cfs" entries already scrambled)
};

// Throws std::invalid_argument for more than 65535 entries, an over-long name or a bundle
// that would not fit 32-bit offsets.
std::string BuildBundle(const std::vector<RBundleItem>& items);
