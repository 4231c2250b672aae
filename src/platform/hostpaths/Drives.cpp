#include "platform/hostpaths/Drives.h"

#include <cstdlib>
#include <filesystem>

#include "base/Cp1251.h"
#include "base/WinPath.h"

namespace fs = std::filesystem;

namespace {
// The service lives for the whole process; the pack's file access points at it.
THostPaths* service = nullptr;

struct NonOwningAccess : IFileAccess {
    std::optional<std::string> FindFile(const std::string& path) override { return HostPathsService().FindFile(path); }
    std::optional<std::string> HostPath(const std::string& path) override { return HostPathsService().HostPath(path); }
    std::optional<std::vector<RFolderEntry>> ListFolder(const std::string& path) override { return HostPathsService().List(path); }
};
} // namespace

THostPaths& HostPathsService() {
    if (!service) service = new THostPaths;
    return *service;
}

std::string CDrivePrefix() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data) base = data;
    else if (const char* home = std::getenv("HOME"); home && *home) base = fs::path(home) / ".local" / "share";
    else base = fs::temp_directory_path();
    return (base / "bookshell" / "c").string();
}

RDriveLayout SetupDrives(const std::string& programFolderHost, char discDrive) {
    RDriveLayout layout;
    std::error_code ec;
    fs::path program = fs::absolute(fs::path(programFolderHost), ec).lexically_normal();
    if (!program.has_filename()) program = program.parent_path();
    const std::string folderName = Cp1251::fromUtf8(program.filename().string());
    const bool inRun = Cp1251::equalsNoCase(folderName, "run") && program.has_parent_path() && program != program.root_path();
    layout.discRootHost = (inRun ? program.parent_path() : program).string();
    layout.cDriveHost = CDrivePrefix();
    fs::create_directories(fs::path(layout.cDriveHost) / "windows" / "system32", ec);

    THostPaths& paths = HostPathsService();
    paths.SetDrive(discDrive, layout.discRootHost);
    paths.SetDrive('c', layout.cDriveHost);
    paths.SetDrive('z', "/");
    layout.programDir = WinPath::WithBackslash(paths.ToWindows(program.string()));
    paths.SetCurrentDirectory(layout.programDir);
    SetFileAccess(std::make_unique<NonOwningAccess>());
    return layout;
}
