#include "base/Cp1251.h"

#include <array>
#include <unordered_map>

namespace Cp1251 {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t upperCodePoint(char32_t u) {
    if (u >= U'a' && u <= U'z') return u - 0x20;
    if (u >= 0x0430 && u <= 0x044F) return u - 0x20;
    if (u >= 0x0450 && u <= 0x045F) return u - 0x50;
    if (u == 0x0491) return 0x0490;
    return u;
}

struct Tables {
    std::unordered_map<char32_t, unsigned char> fromUnicode;
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    Tables() {
        for (int b = 0; b < 256; ++b) fromUnicode.emplace(toCodePoint(static_cast<unsigned char>(b)), static_cast<unsigned char>(b));
        for (int b = 0; b < 256; ++b) {
            const auto it = fromUnicode.find(upperCodePoint(toCodePoint(static_cast<unsigned char>(b))));
            upper[b] = it != fromUnicode.end() ? it->second : static_cast<unsigned char>(b);
        }
        for (int b = 0; b < 256; ++b) lower[b] = static_cast<unsigned char>(b);
        for (int b = 0; b < 256; ++b)
            if (upper[b] != b) lower[upper[b]] = static_cast<unsigned char>(b);
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}


// Decodes one UTF-8 sequence at text[i]; returns the code point or U+FFFD on malformed input,
// advancing i past what was consumed.
char32_t nextUtf8(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t u = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; u = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; u = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; u = lead & 0x07; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        u = (u << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return u;
}

} // namespace

char32_t toCodePoint(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHigh[byte - 0x80];
}

void appendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

std::string toUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) appendUtf8(out, toCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string fromUtf8(std::string_view utf8, bool* ok) {
    std::string out;
    out.reserve(utf8.size());
    bool good = true;
    const auto& map = tables().fromUnicode;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t u = nextUtf8(utf8, i);
        const auto it = map.find(u);
        if (it == map.end()) {
            out += '?';
            good = false;
        } else {
            out += static_cast<char>(it->second);
        }
    }
    if (ok) *ok = good;
    return out;
}

unsigned char upperByte(unsigned char byte) { return tables().upper[byte]; }

unsigned char lowerByte(unsigned char byte) { return tables().lower[byte]; }

std::string lower(std::string_view text) {
    std::string out(text);
    const auto& low = tables().lower;
    for (char& c : out) c = static_cast<char>(low[static_cast<unsigned char>(c)]);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto& up = tables().upper;
    for (size_t i = 0; i < a.size(); ++i)
        if (up[static_cast<unsigned char>(a[i])] != up[static_cast<unsigned char>(b[i])]) return false;
    return true;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

bool asciiEqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace Cp1251
