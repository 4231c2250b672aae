#pragma once
// The names of a RAR volume set on the host: which file follows a volume, and finding it in its
// folder even when the disc spells it in another letter case.
#include <string>

// The volume after path: "name.partN.rar" counts N up, keeping at least its digits, when
// newNaming; otherwise "name.rar" (or any other ending) goes on with "name.r00" ... "name.r99",
// "name.s00" ..., keeping the letter case of the extension.
std::string NextRarVolumeName(const std::string& path, bool newNaming);

// The path of an existing regular file named path, or of a file in its folder whose name differs
// from it only in ASCII letter case; empty when there is none.
std::string FindRarVolume(const std::string& path);
