#include "packs/FileAccess.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {
std::unique_ptr<IFileAccess>& current() {
    static std::unique_ptr<IFileAccess> access = std::make_unique<TDirectFileAccess>();
    return access;
}
} // namespace

std::optional<std::string> TDirectFileAccess::FindFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return path;
}

std::optional<std::string> TDirectFileAccess::HostPath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    return path;
}

IFileAccess& FileAccess() { return *current(); }

void SetFileAccess(std::unique_ptr<IFileAccess> access) {
    current() = access ? std::move(access) : std::make_unique<TDirectFileAccess>();
}

std::optional<std::string> ReadHostFile(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
}
