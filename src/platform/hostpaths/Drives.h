#pragma once
// The process-wide drive set-up: which host folders the disc drive, c: and z: stand for.
#include <string>

#include "platform/hostpaths/HostPaths.h"

// The host paths service every file access of the program goes through.
THostPaths& HostPathsService();

struct RDriveLayout {
    std::string discRootHost;  // host folder mapped to the disc drive
    std::string programDir;    // the program folder in Windows form, with "\"
    std::string cDriveHost;    // host folder mapped to c:
};

// Maps the disc drive to the disc root — the parent of the program folder when that folder is
// named "run" (any case), else the program folder itself — and c: to the per-user prefix under
// the XDG data folder (creating its windows\system32\ folders), installs the service as the
// file access of the pack and the bundle, and makes the program folder the current folder.
RDriveLayout SetupDrives(const std::string& programFolderHost, char discDrive);

// The per-user folder that stands for drive c:.
std::string CDrivePrefix();
