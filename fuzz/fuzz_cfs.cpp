// Unscrambles the input as a ".cfs" entry, and scrambles it as plain text to check the round
// trip. The lines must put the text back together with CR LF, the lower-cased lines must be
// the ASCII lower-casing of the others, and decoding an encoding must give the text back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Cp1251.h"
#include "packs/CfsCodec.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::string join(const TDynamicStringArray& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

void checkLines(std::string_view scrambled, std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(scrambled.data());
    TDynamicStringArray plain, lower;
    DecodeCfsLines(bytes, scrambled.size(), plain, false);
    DecodeCfsLines(bytes, scrambled.size(), lower, true);
    check(plain.size() == lower.size());
    check(plain.empty() == scrambled.empty());
    if (!scrambled.empty()) check(join(plain) == text);
    for (size_t i = 0; i < plain.size(); ++i) check(lower[i] == Cp1251::asciiLower(plain[i]));

    // Lines are appended to what the caller holds.
    TDynamicStringArray appended{"kept"};
    DecodeCfsLines(bytes, scrambled.size(), appended, false);
    check(appended.size() == plain.size() + 1 && appended[0] == "kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The input as a scrambled entry.
    const std::string text = DecodeCfsText(input);
    check(text.size() == size / 2);
    checkLines(input, text);

    // The input as plain text, scrambled with fillers from two seeds.
    uint32_t seed = 0;
    for (size_t i = 0; i < size && i < 4; ++i) seed = seed << 8 | data[i];
    for (const uint32_t s : {seed, ~seed}) {
        const std::string scrambled = EncodeCfs(input, s);
        check(scrambled.size() == 2 * size);
        check(DecodeCfsText(scrambled) == input);
        checkLines(scrambled, input);
    }
    return 0;
}
