#pragma once
// Value parsers of the description files and the path rules shared by every reader of them.
// Lines are CP1251 bytes; positions are 1-based (0 = not found), as a substring search
// returns them. Parsers never fail on malformed text: integers read as -1, missing values are
// empty. Only ParsePolygonRegion raises, for a point that is not a number.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/DynamicStringArray.h"
#include "base/MemoryStream.h"

// 1-based position of the first occurrence of needle in text, 0 when absent.
int Pos(std::string_view needle, std::string_view text);

// From p on, skips to the first "-" or digit and converts the run of "-" and digits as a
// signed decimal; an empty, malformed or out-of-range run gives -1.
int ParseIntAt(const std::string& line, int p);
// Characters from p up to the first NUL or ";", trimmed of codes 0-32. Empty when p lies past
// the end (a key standing at the end of its line).
std::string ParseStringAt(const std::string& line, int p);
// Three numbers "r,g,b" from the first digit at or after p: red + 256*green + 65536*blue, the
// low byte of each. Without any digit each component reads as -1, whose low byte makes white.
uint32_t ParseColorAt(const std::string& line, int p);
// A bracketed list starting at the first "[" of lines[i], items separated by ";", continuing
// over following lines until "]". On return i indexes the line where the list ended. A list
// still open at the last line ends there with the items read so far. Every item goes through
// SubstitutePath.
TDynamicStringArray ParseListAt(const TDynamicStringArray& lines, int& i);

struct TPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TPoint&) const = default;
};
constexpr size_t kMaxPolygonPoints = 2000;
// The points "x,y" of a list read with ParseListAt. Throws EConvertError for a point that is
// not two decimal integers. Points after the 2000th are ignored.
std::vector<TPoint> ParsePolygonRegion(const TDynamicStringArray& lines, int& i);

// The text between the first and the last "=" (after the only "=" when there is one; empty
// without "="), through SubstitutePath.
std::string ValueAfterFirstEquals(const std::string& text);
// The text after the last "=" when there are at least two, else empty; through SubstitutePath.
std::string ValueAfterLastEquals(const std::string& text);
// "<cd>" becomes CdRoot; a value without a drive (":\") that holds a "." or "\" is a path
// relative to ProgramDir (after its last "=" when it has one); anything else is unchanged.
std::string SubstitutePath(const std::string& text);
// Joins rel to base and folds "\..\", never climbing above the first directory level of base;
// a rel beginning with "\" is relative to that first level.
std::string JoinPath(const std::string& base, const std::string& rel);

bool IndexOfInt(const std::vector<int>& values, int key, int& index);
// True when values holds text, compared ASCII case-insensitively.
bool ContainsText(const TDynamicStringArray& values, const std::string& text);
// Pieces of text between delimiters, trimmed and non-empty, except that the last piece is kept
// untrimmed and, when empty, added only after exactly one piece. An empty delimiter gives the
// whole text as one piece.
TDynamicStringArray SplitByDelimiter(const std::string& delimiter, const std::string& text);
// Reads the next line: CR ends it (true), LF is skipped; at the end of the stream the result is
// false with what was read since the last CR.
bool ReadStreamLine(TMemoryStream& stream, std::string& line);

// Removes characters with codes 0-32 from both ends.
std::string TrimControls(std::string_view text);
