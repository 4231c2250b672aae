#pragma once
// Windows-1251 text helpers. Every book text, description file and internal path is kept as
// CP1251 bytes in std::string; conversion to Unicode happens only at the edges (host file
// names, terminal output, widgets) through these functions.
#include <string>
#include <string_view>

namespace Cp1251 {

// The Unicode code point of one CP1251 byte (0x98, unassigned, maps to U+0098).
char32_t toCodePoint(unsigned char byte);

// Appends one code point to UTF-8 text.
void appendUtf8(std::string& out, char32_t u);

// CP1251 bytes -> UTF-8.
std::string toUtf8(std::string_view cp1251);

// UTF-8 -> CP1251. Characters CP1251 lacks, and malformed UTF-8, become '?'; *ok (when given)
// is then false.
std::string fromUtf8(std::string_view utf8, bool* ok = nullptr);

// Upper-case form of one byte under the Windows-1251 locale: ASCII and every Cyrillic pair
// (А/а, Ё/ё, Ў/ў, Ї/ї ...) fold; other bytes stay.
unsigned char upperByte(unsigned char byte);

// Lower-case form of one byte and of a text under the Windows-1251 locale, the reverse of upperByte.
unsigned char lowerByte(unsigned char byte);
std::string lower(std::string_view text);

// Locale-aware case-insensitive equality, as names in the configuration bundle compare.
bool equalsNoCase(std::string_view a, std::string_view b);

// ASCII-only lower-casing ("A".."Z"); Cyrillic and all other bytes unchanged.
std::string asciiLower(std::string_view text);
bool asciiEqualsNoCase(std::string_view a, std::string_view b);

} // namespace Cp1251
