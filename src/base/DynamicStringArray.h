#pragma once
// A growable array of CP1251 strings: the result of splitting, listing and list parsing.
#include <string>
#include <vector>

using TDynamicStringArray = std::vector<std::string>;
