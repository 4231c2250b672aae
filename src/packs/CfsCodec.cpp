#include "packs/CfsCodec.h"

#include <random>

std::string DecodeCfsText(std::string_view data) {
    const size_t n = data.size();
    if (n == 0) return {};
    // d[i] = d[i-1] + s[i] + k with k = n mod 256 doubling each step (mod 256).
    std::string decoded(n, '\0');
    unsigned k = n % 256;
    auto prev = static_cast<unsigned char>(data[0]);
    decoded[0] = static_cast<char>(prev);
    for (size_t i = 1; i < n; ++i) {
        prev = static_cast<unsigned char>(prev + static_cast<unsigned char>(data[i]) + k);
        decoded[i] = static_cast<char>(prev);
        k = (2 * k) % 256;
    }
    const size_t m = n / 2;
    std::string text(m, '\0');
    for (size_t x = 0; x < m; ++x) text[x] = decoded[2 * (m - 1 - x) + 1];
    return text;
}

void DecodeCfsLines(const uint8_t* data, size_t size, TDynamicStringArray& lines, bool lowerCase) {
    if (size == 0) return;
    const std::string text = DecodeCfsText({reinterpret_cast<const char*>(data), size});
    lines.emplace_back();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.emplace_back();
            ++i;
            continue;
        }
        if (lowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        lines.back() += c;
    }
}

std::string EncodeCfs(std::string_view text, uint32_t seed) {
    const size_t m = text.size();
    const size_t n = 2 * m;
    std::mt19937 rng(seed);
    std::string decoded(n, '\0');
    for (size_t x = 0; x < m; ++x) {
        decoded[2 * x] = static_cast<char>(rng() & 0xFF);
        decoded[2 * x + 1] = text[m - 1 - x];
    }
    std::string out(n, '\0');
    if (n == 0) return out;
    out[0] = decoded[0];
    unsigned k = n % 256;
    for (size_t i = 1; i < n; ++i) {
        out[i] = static_cast<char>(static_cast<unsigned char>(decoded[i]) - static_cast<unsigned char>(decoded[i - 1]) - k);
        k = (2 * k) % 256;
    }
    return out;
}
