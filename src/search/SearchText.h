#pragma once
// Shared rules of the page text and the searched word, internal to the search library: the
// character folding both sides go through, and the tailored Russian collator whose weights both
// the page signature and the string search are built from.
#include <unicode/ucol.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace SearchText {

// Folds one character the way both page and word are compared: curly quotes become straight
// ones. Returns 0 for characters that vanish (soft hyphen),
// U+FFFD for the noncharacters U+FFFE/U+FFFF, so that a page cannot fake the block separator.
char32_t Fold(char32_t c);

// The process-wide collator for one strength: Russian, with й/Й a letter of its own after и/И
// (a primary difference), so that at primary strength only case and е/ё (a secondary
// difference) are ignored. Case-sensitive is tertiary strength, where е and ё differ as well.
// Built on first use; throws std::runtime_error when ICU cannot build it.
const UCollator* Collator(bool caseSensitive);

// The non-zero primary weights of text's collation elements, in order. Both strengths weigh
// with the same rules, so these are the weights the string search compares at primary strength
// and the first part of what it compares at tertiary strength.
std::vector<uint32_t> PrimaryWeights(std::u16string_view text);

// Hash key of two neighbouring primary weights; second = 0 is the key of a single weight.
inline uint32_t WeightKey(uint32_t first, uint32_t second) {
    return (first * 0x9E3779B1u) ^ (second * 0x85EBCA77u + 0x7F4A7C15u);
}

} // namespace SearchText
