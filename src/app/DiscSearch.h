#pragma once
// Books on mounted discs: the usual mount points are searched one level deep for a disc whose
// program folder ("run", or the disc root itself) holds Zaz.dhl, in any letter case.
#include <string>
#include <vector>

struct RMountRoot {
    std::string folder;  // a folder whose entries are mount points
    std::string prefix;  // only entries whose name starts with it ("cdrom"); empty: all
};

// /media/USER, /run/media/USER, /media/cdrom*, /mnt/* for the user running the program.
std::vector<RMountRoot> DefaultMountRoots();
// The same, as the help text shows them.
std::string DescribeMountRoots();

// The program folders of the books found, in the order of the roots and then by name.
std::vector<std::string> FindMountedBooks(const std::vector<RMountRoot>& roots);

// The folder holds Zaz.dhl (any letter case).
bool HoldsBundle(const std::string& folder);
// The program folder of a disc folder: the folder itself when it holds Zaz.dhl, else its "run"
// folder (any letter case) when that does; empty when neither does.
std::string BookFolderIn(const std::string& folder);
