#include "platform/hostpaths/HostPaths.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

#include "base/Cp1251.h"
#include "base/Diagnostics.h"

namespace {

constexpr size_t kMaxComponent = 255;

char lowerDrive(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSeparator(char c) { return c == '\\' || c == '/'; }

long long changeStamp(const struct stat& st) {
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

} // namespace

std::string FoldName(const std::string& cp1251) {
    std::string out = cp1251;
    for (char& c : out) c = static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
    return out;
}

THostPaths::THostPaths() {
    drives_['z'].assign(1, '/');
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    current_ = ec ? "z:\\" : ToWindows(cwd.string());
    if (current_.back() != '\\') current_ += '\\';
}

namespace {
std::string normalRoot(const std::string& hostRoot) {
    std::string root = std::filesystem::path(hostRoot).lexically_normal().string();
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}
} // namespace

void THostPaths::SetDrive(char letter, const std::string& hostRoot) { drives_[lowerDrive(letter)] = normalRoot(hostRoot); }

void THostPaths::AttachImage(const std::string& hostRoot, IDriveImage* image) {
    if (image) images_[normalRoot(hostRoot)] = image;
    else images_.erase(normalRoot(hostRoot));
}

IDriveImage* THostPaths::ImageOf(char drive) const {
    const auto root = drives_.find(drive);
    if (root == drives_.end()) return nullptr;
    const auto it = images_.find(root->second);
    return it == images_.end() ? nullptr : it->second;
}

std::optional<std::vector<std::string>> THostPaths::ImagePath(const std::string& winPath, const IDriveImage* image) const {
    const auto split = Parse(winPath);
    if (!split || !image || ImageOf(split->drive) != image) return std::nullopt;
    return split->components;
}

std::optional<std::string> THostPaths::DriveRoot(char letter) const {
    const auto it = drives_.find(lowerDrive(letter));
    if (it == drives_.end()) return std::nullopt;
    return it->second;
}

void THostPaths::SetCurrentDirectory(const std::string& winPath) {
    current_ = winPath;
    if (current_.empty() || current_.back() != '\\') current_ += '\\';
}

std::optional<THostPaths::Split> THostPaths::Parse(const std::string& winPath) const {
    if (winPath.empty() || winPath.find('\0') != std::string::npos) return std::nullopt;
    Split split;
    std::string rest;
    if (winPath.size() >= 2 && isDriveLetter(winPath[0]) && winPath[1] == ':') {
        split.drive = lowerDrive(winPath[0]);
        rest = winPath.substr(2);
    } else if (winPath[0] == '/') {
        split.drive = 'z';  // a host path
        rest = winPath;
    } else if (winPath[0] == '\\') {
        if (winPath.size() > 1 && winPath[1] == '\\') return std::nullopt;  // network paths
        if (current_.size() < 2 || current_[1] != ':') return std::nullopt;
        split.drive = lowerDrive(current_[0]);
        rest = winPath;
    } else {
        if (current_.size() < 2 || current_[1] != ':') return std::nullopt;
        split.drive = lowerDrive(current_[0]);
        rest = current_.substr(2);
        rest += '\\';
        rest += winPath;
    }
    if (!drives_.count(split.drive)) return std::nullopt;
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !isSeparator(rest[i])) continue;
        const std::string part = rest.substr(start, i - start);
        start = i + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!split.components.empty()) split.components.pop_back();
            continue;
        }
        if (part.size() > kMaxComponent) return std::nullopt;
        split.components.push_back(part);
    }
    return split;
}

const THostPaths::Listing* THostPaths::ListHost(const std::string& hostDir) {
    struct stat st {};
    if (::stat(hostDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    Listing& listing = cache_[hostDir];
    if (listing.stamp == changeStamp(st)) return &listing;

    std::vector<std::pair<std::string, bool>> names;  // host name, is a folder
    if (DIR* dir = ::opendir(hostDir.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            bool folder = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
                struct stat target {};
                folder = ::stat((hostDir + "/" + name).c_str(), &target) == 0 && S_ISDIR(target.st_mode);
            }
            names.emplace_back(name, folder);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    listing = Listing{};
    listing.stamp = changeStamp(st);
    for (const auto& [host, folder] : names) {
        bool ok = false;
        const std::string cp = Cp1251::fromUtf8(host, &ok);
        if (!ok) {  // a name no CP1251 path can spell
            Diagnose(TDiagnosticLayer::HostPaths, "a name no Windows path can spell is left out: " + hostDir + "/" + host);
            continue;
        }
        if (listing.byFolded.emplace(FoldName(cp), host).second) listing.entries.push_back({cp, folder});
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const RFolderEntry& a, const RFolderEntry& b) { return FoldName(a.name) < FoldName(b.name); });
    return &listing;
}

std::string THostPaths::Resolve(const Split& split, size_t& found) {
    std::string host = drives_.at(split.drive);
    found = 0;
    for (const std::string& component : split.components) {
        const Listing* listing = ListHost(host);
        if (!listing) break;
        const auto it = listing->byFolded.find(FoldName(component));
        if (it == listing->byFolded.end()) break;
        if (host.back() != '/') host += '/';
        host += it->second;
        ++found;
    }
    return host;
}

void THostPaths::FetchFromImage(const Split& split) {
    // A listing read in the same clock tick as a copy out of the image keeps its stamp: drop it.
    if (IDriveImage* image = ImageOf(split.drive); image && image->Materialize(split.components)) cache_.clear();
}

std::optional<std::string> THostPaths::Find(const std::string& winPath, bool wantDirectory) {
    const auto split = Parse(winPath);
    if (!split) return std::nullopt;
    FetchFromImage(*split);
    size_t found = 0;
    const std::string host = Resolve(*split, found);
    if (found != split->components.size()) return std::nullopt;
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return std::nullopt;
    if (wantDirectory ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) return std::nullopt;
    return host;
}

std::optional<std::string> THostPaths::ToHost(const std::string& winPath) {
    const auto split = Parse(winPath);
    if (!split) return std::nullopt;
    FetchFromImage(*split);
    size_t found = 0;
    std::string host = Resolve(*split, found);
    for (size_t i = found; i < split->components.size(); ++i) {
        if (host.back() != '/') host += '/';
        host += Cp1251::toUtf8(split->components[i]);
    }
    return host;
}

std::string THostPaths::ToWindows(const std::string& hostPath) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(hostPath), ec);
    if (ec) path = fs::path(hostPath);
    const std::string normal = path.lexically_normal().string();

    char bestDrive = 'z';
    size_t bestLength = 0;
    for (const auto& [letter, root] : drives_) {
        const bool under = root == "/" || normal == root || normal.compare(0, root.size() + 1, root + "/") == 0;
        if (under && root.size() > bestLength) {
            bestDrive = letter;
            bestLength = root == "/" ? 0 : root.size();
        }
    }
    std::string rest = normal.substr(std::min(bestLength, normal.size()));
    std::string out;
    out += bestDrive;
    out += ":\\";
    for (const char c : Cp1251::fromUtf8(rest)) {
        if (c == '/') {
            if (out.back() != '\\') out += '\\';
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::vector<RFolderEntry>> THostPaths::List(const std::string& winDir) {
    if (const auto split = Parse(winDir))
        if (IDriveImage* image = ImageOf(split->drive))
            if (auto entries = image->ListImage(split->components)) return entries;
    const auto host = Find(winDir, true);
    if (!host) return std::nullopt;
    const Listing* listing = ListHost(*host);
    if (!listing) return std::nullopt;
    return listing->entries;
}
