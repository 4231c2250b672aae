#pragma once
// File search over the drives of the host paths service.
#include <string>

#include "base/DynamicStringArray.h"

// Full Windows paths of the files under root matching any of masks ("*" and "?", compared
// without regard to case; "*.*" matches every name). Masks are lower-cased in place. Folders
// are listed in case-insensitive name order, since a Linux folder has no natural order; each
// mask adds its matches in turn, so a file matching two masks appears twice. With recurse the
// sub-folders follow in the same order; with includeDirectories each folder itself (with "\")
// comes before its files.
TDynamicStringArray WalkFiles(const std::string& root, TDynamicStringArray& masks, bool recurse, bool includeDirectories);

// Windows wildcard match of a CP1251 name, case-insensitive.
bool MatchesMask(const std::string& name, const std::string& mask);
