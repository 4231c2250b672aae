#include "app/DiscSearch.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/Cp1251.h"

namespace fs = std::filesystem;

namespace {

std::string UserName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_name ? entry->pw_name : "";
}

// The entries of a folder, sorted by name; a folder that cannot be read has none.
std::vector<fs::path> Entries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace

bool HoldsBundle(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (Cp1251::equalsNoCase(Cp1251::fromUtf8(entry.path().filename().string()), "zaz.dhl")) return true;
    return false;
}

std::string BookFolderIn(const std::string& folder) {
    if (folder.empty()) return {};
    if (HoldsBundle(folder)) return folder;
    for (const fs::path& entry : Entries(folder)) {
        std::error_code ec;
        if (Cp1251::equalsNoCase(Cp1251::fromUtf8(entry.filename().string()), "run") && fs::is_directory(entry, ec) &&
            HoldsBundle(entry.string()))
            return entry.string();
    }
    return {};
}

std::vector<RMountRoot> DefaultMountRoots() {
    const std::string user = UserName();
    std::vector<RMountRoot> roots;
    if (!user.empty()) roots.push_back({"/media/" + user, ""});
    if (!user.empty()) roots.push_back({"/run/media/" + user, ""});
    roots.push_back({"/media", "cdrom"});
    roots.push_back({"/mnt", ""});
    return roots;
}

std::string DescribeMountRoots() {
    std::string text;
    for (const RMountRoot& root : DefaultMountRoots()) text += (text.empty() ? "" : ", ") + root.folder + "/" + root.prefix + "*";
    return text;
}

std::vector<std::string> FindMountedBooks(const std::vector<RMountRoot>& roots) {
    std::vector<std::string> books;
    for (const RMountRoot& root : roots) {
        for (const fs::path& mount : Entries(root.folder)) {
            if (mount.filename().string().rfind(root.prefix, 0) != 0) continue;
            std::error_code ec;
            if (!fs::is_directory(mount, ec)) continue;
            const std::string book = BookFolderIn(mount.string());
            if (!book.empty() && std::find(books.begin(), books.end(), book) == books.end()) books.push_back(book);
        }
    }
    return books;
}
