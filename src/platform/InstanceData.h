#pragma once
// RInstanceData: the 840-byte record that Bookshell processes send each other (show a page,
// print a picture, ask which file a window shows). Wire layout, little-endian:
//   0 kind (u16)   2 count (u16)   4, 8, 12 codes (i32)
//   16, 290, 564 three strings of 274 bytes, CP1251, NUL-terminated   838 padding (2 zero bytes)
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct RInstanceData {
    static constexpr size_t kSize = 840;
    static constexpr size_t kStringOffset = 16;
    static constexpr size_t kStringSize = 274;
    static constexpr size_t kMaxStringLength = kStringSize - 1;
    // Kind of a record read from fewer than kSize bytes: no receiver acts on it.
    static constexpr uint16_t kInvalidKind = 0xFFFF;

    enum : uint16_t { kShowPage = 0, kPrintPicture = 1, kQueryShownFile = 3 };

    uint16_t kind = 0;
    uint16_t count = 0;
    int32_t codes[3] = {0, 0, 0};
    std::string strings[3];

    // Strings longer than kMaxStringLength are cut to it; bytes after the NUL are zero.
    std::array<uint8_t, kSize> Serialize() const;
    // Reads the first kSize bytes; a string is read up to its NUL and never beyond
    // kMaxStringLength bytes. A shorter buffer gives a record of kind kInvalidKind with count 0,
    // zero codes and empty strings.
    static RInstanceData Deserialize(const uint8_t* data, size_t size);
};
