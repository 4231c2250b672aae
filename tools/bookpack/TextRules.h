#pragma once
// How description files (".cfs") travel between plain host text and the scrambled form the
// program reads. The program splits a description at CR LF and reads CP1251, so plain text
// is converted on the way in and back on the way out.
#include <string>
#include <string_view>

#include "Cli.h"

enum class TTextEncoding { Utf8, Cp1251 };

// The --encoding option: "utf-8" (the default) or "cp1251"; UsageError for anything else.
TTextEncoding EncodingOption(const TArgs& args);

// True when a name ends in ".cfs", in any letter case.
bool IsCfsName(std::string_view name);

// Plain host text made ready for scrambling: UTF-8 is converted to CP1251 (a leading
// byte-order mark is dropped; a character CP1251 lacks is a Failure naming fileName and the
// line), CP1251 is taken as it is; then every LF not preceded by CR becomes CR LF.
std::string PrepareCfsText(std::string_view bytes, TTextEncoding encoding, const std::string& fileName);

// Unscrambled CP1251 text as host text: CR LF becomes LF and the bytes become UTF-8.
std::string CfsTextToUtf8(std::string_view text);
