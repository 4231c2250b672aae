#include "platform/FileCopy.h"

#include <filesystem>
#include <fstream>

#include "base/FileErrors.h"
#include "packs/ComprStream.h"
#include "platform/Drives.h"

bool CopyBookFile(const std::string& from, const std::string& to) {
    try {
        TComprStream source(from);
        const auto target = HostPathsService().ToHost(to);
        if (!target) return false;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(*target).parent_path(), ec);
        std::ofstream out(*target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(source.Data()), static_cast<std::streamsize>(source.Size()));
        return bool(out);
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
