#include "platform/InstanceData.h"

#include <algorithm>

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

std::array<uint8_t, RInstanceData::kSize> RInstanceData::Serialize() const {
    std::array<uint8_t, kSize> out{};
    Put16(&out[0], kind);
    Put16(&out[2], count);
    for (size_t i = 0; i < 3; ++i) {
        Put32(&out[4 + 4 * i], static_cast<uint32_t>(codes[i]));
        const size_t length = std::min(strings[i].size(), kMaxStringLength);
        std::copy_n(strings[i].data(), length, &out[kStringOffset + kStringSize * i]);
    }
    return out;
}

RInstanceData RInstanceData::Deserialize(const uint8_t* data, size_t size) {
    RInstanceData record;
    if (data == nullptr || size < kSize) {
        record.kind = kInvalidKind;
        return record;
    }
    record.kind = Get16(&data[0]);
    record.count = Get16(&data[2]);
    for (size_t i = 0; i < 3; ++i) {
        record.codes[i] = static_cast<int32_t>(Get32(&data[4 + 4 * i]));
        const auto* text = &data[kStringOffset + kStringSize * i];
        const auto* end = std::find(text, text + kMaxStringLength, uint8_t{0});
        record.strings[i].assign(text, end);
    }
    return record;
}
