#pragma once
// The scrambling of ".cfs" description files inside the bundle, and their split into lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/DynamicStringArray.h"

// Unscrambles data and appends its lines to lines. A CR immediately followed by LF ends a line;
// every other byte, a lone CR or LF included, belongs to the line, lower-cased with the
// ASCII-only rule when lowerCase is set. An empty input gives no lines, one byte one empty line.
void DecodeCfsLines(const uint8_t* data, size_t size, TDynamicStringArray& lines, bool lowerCase);

// The plain text hidden in scrambled data (the odd decoded bytes, reversed).
std::string DecodeCfsText(std::string_view data);

// Scrambles text with filler bytes drawn from a generator seeded with seed; the result always
// has an even length.
std::string EncodeCfs(std::string_view text, uint32_t seed);
