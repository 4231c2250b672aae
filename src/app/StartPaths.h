#pragma once
// The start-up paths derived from the program folder's Windows form.
#include <string>

// The drive of a Windows path, lower-cased (ASCII only), with "\": "D:\RUN\" -> "d:\".
std::string CdRootOf(const std::string& programDir);
// The program folder without its first "run\" (compared without regard to case): the prefix
// under which full paths are looked up inside the pack. Unchanged when there is none.
std::string PackPrefixOf(const std::string& programDir);
