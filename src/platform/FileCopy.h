#pragma once
// Copies of the book's files onto the host, for the user. Targets are Windows paths, mapped to
// host folders through the host paths service.
#include <string>

// Copies a book file (the pack first, then the disc) over whatever is at the target, creating
// the target's missing folders. False when the file cannot be read or the target not written.
bool CopyBookFile(const std::string& from, const std::string& to);

// Creates the folder at a Windows path with its missing parents; false when it cannot.
bool CreateHostFolders(const std::string& winPath);
