#pragma once
// Copies of the book's files onto the host, for the user. Targets are Windows paths, mapped to
// host folders through the host paths service, or host paths the caller has put together with
// the containment helper. A copy is written under a temporary name and takes the target's place
// only when whole, so a failed copy leaves what was there.
#include <filesystem>
#include <string>

// Copies a book file (the pack first, then the disc) over whatever is at the target, creating
// the target's missing folders. False when the file cannot be read or the target not written.
bool CopyBookFile(const std::string& from, const std::string& to);
bool CopyBookFileToHost(const std::string& from, const std::filesystem::path& to);

// Creates the folder at a Windows path with its missing parents; false when it cannot.
bool CreateHostFolders(const std::string& winPath);
