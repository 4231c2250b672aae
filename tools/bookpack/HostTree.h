#pragma once
// The host side of bookpack: reading source folders and writing extracted files. Host names
// are UTF-8; pack and bundle names are CP1251.
#include <set>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

struct THostItem {
    std::string name;  // UTF-8, as on the host
    std::string path;  // host path
    bool folder = false;
    dev_t device = 0;
    ino_t inode = 0;
};

// The items of a host folder sorted byte-wise by name, so builds are reproducible. Symbolic
// links are followed. Failure when the folder cannot be read or an item is neither a regular
// file nor a folder.
std::vector<THostItem> ReadFolder(const std::string& path);

// True when item is the file at path (an earlier output lying inside the source folder).
bool IsSameFile(const THostItem& item, const std::string& path);

// A host name in CP1251; Failure naming hostPath when CP1251 lacks one of its characters.
std::string HostNameToCp1251(const std::string& name, const std::string& hostPath);

// Why a CP1251 name read from a pack or bundle cannot be a host file name (empty, ".", "..",
// holds "/", "\", ":" or NUL), or an empty string when it can.
std::string NameProblem(std::string_view name);

// The destination folder of an extraction. Paths are given as lists of CP1251 names that the
// caller has checked with NameProblem, so nothing lands outside the folder; symbolic links
// met below it are refused rather than followed.
class TOutputFolder {
public:
    // Creates the folder (and its parents) when missing; Failure when that is impossible.
    explicit TOutputFolder(std::string root);

    // Creates a folder below the root, parents included. Failure on error.
    void MakeFolder(const std::vector<std::string_view>& names);
    // Writes a file below the root, creating its parent folders. Returns false, writing
    // nothing, when an earlier entry of this run already wrote the same host file (same names,
    // or names a case-insensitive file system takes as equal): the first entry wins, as it
    // does when the program looks names up. Failure on error.
    bool WriteFile(const std::vector<std::string_view>& names, std::string_view data);
    // The host path of names below the root, for messages.
    std::string HostPath(const std::vector<std::string_view>& names) const;

private:
    std::set<std::pair<dev_t, ino_t>> written_;
    std::string root_;
};
