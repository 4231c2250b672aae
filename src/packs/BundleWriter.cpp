#include "packs/BundleWriter.h"

#include <stdexcept>

#include "packs/ReadBin.h"

namespace {
void putU32(std::string& out, uint64_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
} // namespace

std::string BuildBundle(const std::vector<RBundleItem>& items) {
    if (items.size() > 0xFFFF) throw std::invalid_argument("a bundle holds at most 65535 entries");
    uint64_t offset = 2;
    for (const auto& item : items) {
        if (item.name.size() > kBundleMaxName) throw std::invalid_argument("entry name longer than 256 bytes: " + item.name);
        offset += 12 + item.name.size();
    }
    std::string out;
    out += static_cast<char>(items.size() & 0xFF);
    out += static_cast<char>(items.size() >> 8);
    for (const auto& item : items) {
        putU32(out, item.name.size());
        out += item.name;
        if (offset + item.data.size() > 0x7FFFFFFF) throw std::invalid_argument("bundle larger than 2 GiB");
        putU32(out, offset);
        putU32(out, item.data.size());
        offset += item.data.size();
    }
    for (const auto& item : items) out += item.data;
    return out;
}
