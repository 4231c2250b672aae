// Name and time conversions of the RAR library: UTF-8 and DOS code page 866 to CP1251, the packed
// Unicode names of RAR 1.5-4 headers, DOS date-times.
#include "archive/rar/RarText.h"

#include <array>

#include "base/Cp1251.h"

namespace {

// Code points of the DOS code page 866 bytes 0xB0..0xDF (box drawing) and 0xF0..0xFF; the
// Cyrillic letters 0x80..0xAF and 0xE0..0xEF follow the Unicode order.
constexpr std::array<char16_t, 48> kCp866Box = {
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
};
constexpr std::array<char16_t, 16> kCp866Tail = {
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

char32_t cp866CodePoint(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte < 0xB0) return 0x0410 + (byte - 0x80);
    if (byte < 0xE0) return kCp866Box[byte - 0xB0];
    if (byte < 0xF0) return 0x0440 + (byte - 0xE0);
    return kCp866Tail[byte - 0xF0];
}

// The length of the well-formed UTF-8 sequence at text[i], or 0 when it is malformed (a stray
// continuation byte, a cut or overlong sequence, a value past U+10FFFF).
size_t utf8Length(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    char32_t u = 0;
    if ((lead & 0xE0) == 0xC0) length = 2, u = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) length = 3, u = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) length = 4, u = lead & 0x07;
    else return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        u = (u << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return u >= kSmallest[length] && u <= 0x10FFFF ? length : 0;
}

// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const std::u16string& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            u = 0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (u >= 0xD800 && u < 0xE000) {
            u = 0xFFFD;
        }
        Cp1251::appendUtf8(out, u);
    }
    return out;
}

} // namespace

std::string RarNameToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t length = utf8Length(utf8, i);
        if (length == 0 || c < 0x20) {
            out += kRarSubstitute;
            ++i;
            continue;
        }
        if (length == 1) {
            out += c == '/' ? '\\' : static_cast<char>(c);
        } else {
            bool ok = false;
            const std::string byte = Cp1251::fromUtf8(utf8.substr(i, length), &ok);
            out += ok && byte.size() == 1 ? byte[0] : kRarSubstitute;
        }
        i += length;
    }
    return out;
}

std::string Cp866ToUtf8(std::string_view cp866) {
    std::string out;
    out.reserve(cp866.size() * 2);
    for (const char c : cp866) Cp1251::appendUtf8(out, cp866CodePoint(static_cast<unsigned char>(c)));
    return out;
}

// The packed name: a high byte shared by many characters, then groups of four two-bit
// instructions, each taking a character as one byte, as one byte under the high byte, as two
// bytes, or as a run copied (or shifted by a correction) from the plain name at the same place.
std::string RarUnicodeName(std::string_view field) {
    const size_t zero = field.find('\0');
    if (zero == std::string_view::npos) return std::string(field);
    const std::string_view plain = field.substr(0, zero);
    const std::string_view packed = field.substr(zero + 1);
    auto byte = [&](size_t at) { return static_cast<unsigned char>(packed[at]); };
    std::u16string name;
    if (packed.empty()) return std::string(plain);
    const unsigned high = byte(0);
    size_t pos = 1;
    unsigned flags = 0;
    int flagBits = 0;
    while (pos < packed.size()) {
        if (flagBits == 0) {
            flags = byte(pos++);
            flagBits = 8;
            if (pos >= packed.size()) break;
        }
        const unsigned op = (flags >> 6) & 3;
        if (op == 0) {
            name += static_cast<char16_t>(byte(pos++));
        } else if (op == 1) {
            name += static_cast<char16_t>(byte(pos++) | (high << 8));
        } else if (op == 2) {
            if (pos + 1 >= packed.size()) break;
            name += static_cast<char16_t>(byte(pos) | (byte(pos + 1) << 8));
            pos += 2;
        } else {
            unsigned length = byte(pos++);
            const bool shifted = (length & 0x80) != 0;
            unsigned correction = 0;
            if (shifted) {
                if (pos >= packed.size()) break;
                correction = byte(pos++);
            }
            for (length = (length & 0x7F) + 2; length > 0 && name.size() < plain.size(); --length) {
                const unsigned c = static_cast<unsigned char>(plain[name.size()]);
                name += static_cast<char16_t>(shifted ? ((c + correction) & 0xFF) | (high << 8) : c);
            }
        }
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
    }
    return name.empty() ? std::string(plain) : utf16ToUtf8(name);
}

uint32_t DosTimeFromUnix(time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local)) return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return 0;
    return uint32_t(year - 1980) << 25 | uint32_t(local.tm_mon + 1) << 21 | uint32_t(local.tm_mday) << 16 |
           uint32_t(local.tm_hour) << 11 | uint32_t(local.tm_min) << 5 | uint32_t(local.tm_sec / 2);
}

time_t UnixFromDosTime(uint32_t dosTime) {
    std::tm local{};
    local.tm_year = int(dosTime >> 25) + 80;
    local.tm_mon = int((dosTime >> 21) & 0x0F) - 1;
    local.tm_mday = int((dosTime >> 16) & 0x1F);
    local.tm_hour = int((dosTime >> 11) & 0x1F);
    local.tm_min = int((dosTime >> 5) & 0x3F);
    local.tm_sec = int(dosTime & 0x1F) * 2;
    local.tm_isdst = -1;
    if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 || local.tm_min > 59 ||
        local.tm_sec > 59)
        return -1;
    return mktime(&local);
}
