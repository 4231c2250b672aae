#pragma once
// Key lookup inside a line of a description file. A key is found by plain substring search (its
// first occurrence, anywhere in the line); integers are read from the key's position, strings
// and colours from one past the key's end (where "key=" puts its value), lists from the first
// "[" of the line. A key that does not occur gives the default: 0, empty, black, empty list.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/DynamicStringArray.h"

// The value of a string key: the text after "key=" up to ";" (empty when the key is absent).
std::string StringKey(const std::string& line, std::string_view key);
// The value of an integer key: the first number at or after the key (0 when it is absent).
int32_t IntKey(const std::string& line, std::string_view key);
// The value of a colour key "key=r,g,b" (0 when it is absent).
uint32_t ColorKey(const std::string& line, std::string_view key);
// The list of a list key found in lines[i], read from the first "[" of that line; i moves on to
// the line where the list ended. Empty, with i unchanged, when the key is absent.
TDynamicStringArray ListKey(const TDynamicStringArray& lines, int& i, std::string_view key);
