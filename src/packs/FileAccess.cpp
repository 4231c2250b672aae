#include "packs/FileAccess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {
std::unique_ptr<IFileAccess>& current() {
    static std::unique_ptr<IFileAccess> access = std::make_unique<TDirectFileAccess>();
    return access;
}

std::string hostForm(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
} // namespace

std::optional<std::string> TDirectFileAccess::FindFile(const std::string& path) {
    struct stat st {};
    const std::string host = hostForm(path);
    if (host.empty() || ::stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return host;
}

std::optional<std::string> TDirectFileAccess::HostPath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    return hostForm(path);
}

std::optional<std::vector<RFolderEntry>> TDirectFileAccess::ListFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::directory_iterator it(hostForm(path), ec);
    if (path.empty() || ec) return std::nullopt;
    std::vector<RFolderEntry> entries;
    for (const auto& entry : it) entries.push_back({entry.path().filename().string(), entry.is_directory(ec)});
    std::sort(entries.begin(), entries.end(), [](const RFolderEntry& a, const RFolderEntry& b) { return a.name < b.name; });
    return entries;
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
