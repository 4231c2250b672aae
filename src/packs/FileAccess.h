#pragma once
// The one door from disc paths to host files. The pack, the disc folder of the book's files and
// the bundle reader ask it where a path lives on the host. The default reads paths as host
// paths; the platform layer installs a mapping of Windows paths (drive letters, any letter case).
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct RFolderEntry {
    std::string name;  // as the access spells paths (CP1251 under the Windows mapping)
    bool directory = false;
};

class IFileAccess {
public:
    virtual ~IFileAccess() = default;
    // The host path of an existing regular file, or nothing when there is none.
    virtual std::optional<std::string> FindFile(const std::string& path) = 0;
    // The host path to create or open a file at (its folder must exist), or nothing.
    virtual std::optional<std::string> HostPath(const std::string& path) = 0;
    // The entries of an existing folder, in the access's name order; nothing when it is missing.
    virtual std::optional<std::vector<RFolderEntry>> ListFolder(const std::string& path) = 0;
};

// Takes paths as host paths, "\" read as "/" as the book writes paths.
class TDirectFileAccess : public IFileAccess {
public:
    std::optional<std::string> FindFile(const std::string& path) override;
    std::optional<std::string> HostPath(const std::string& path) override;
    std::optional<std::vector<RFolderEntry>> ListFolder(const std::string& path) override;
};

IFileAccess& FileAccess();
// Installs the process-wide file access; nullptr restores the direct one.
void SetFileAccess(std::unique_ptr<IFileAccess> access);

// Reads a whole host file; nothing when it cannot be opened or read.
std::optional<std::string> ReadHostFile(const std::string& hostPath);
