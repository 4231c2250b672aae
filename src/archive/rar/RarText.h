#pragma once
// Names and times as RAR archives store them, turned into what the RAR library hands out: names
// in CP1251 with "\" between folders, times as DOS date-times in local time.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// A UTF-8 name as CP1251 with "\" between folders. Each character CP1251 cannot hold, each
// malformed UTF-8 byte and each control character becomes one kRarSubstitute.
constexpr char kRarSubstitute = '_';
std::string RarNameToCp1251(std::string_view utf8);

// DOS (OEM) code page 866 text as UTF-8.
std::string Cp866ToUtf8(std::string_view cp866);

// The name field of a RAR 1.5-4 file header that carries the Unicode flag: the plain name, a zero
// byte and the packed UTF-16 name; without the zero byte the field holds UTF-8. Gives UTF-8.
std::string RarUnicodeName(std::string_view field);

// A time as a DOS date-time in local time; 0 when it has no DOS form (before 1980, after 2107).
uint32_t DosTimeFromUnix(time_t time);
// A DOS date-time, read as local time; -1 when it names no valid date.
time_t UnixFromDosTime(uint32_t dosTime);
