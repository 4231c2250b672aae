#include "platform/hostpaths/FileCopy.h"

#include "base/ContainedPath.h"
#include "base/FileErrors.h"
#include "packs/ComprStream.h"
#include "platform/hostpaths/Drives.h"

bool CopyBookFile(const std::string& from, const std::string& to) {
    const auto target = HostPathsService().ToHost(to);
    return target && CopyBookFileToHost(from, *target);
}

bool CopyBookFileToHost(const std::string& from, const std::filesystem::path& to) {
    try {
        TComprStream source(from);
        std::error_code ec;
        std::filesystem::create_directories(to.parent_path(), ec);
        return Contained::WriteReplacing(to, source.View());
    } catch (const EFOpenError&) {
        return false;
    }
}

bool CreateHostFolders(const std::string& winPath) {
    const auto host = HostPathsService().ToHost(winPath);
    if (!host) return false;
    std::error_code ec;
    std::filesystem::create_directories(*host, ec);
    return !ec;
}
