#include "platform/hostpaths/ImageDrive.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"
#include "base/Diagnostics.h"

namespace fs = std::filesystem;

TImageDrive::TImageDrive(std::unique_ptr<TIsoImage> image, std::string base, std::string hostRoot, THostPaths& paths)
    : image_(std::move(image)), hostRoot_(std::move(hostRoot)), paths_(paths) {
    base_ = image_->Find(base);
    if (base_ >= 0 && !image_->Entry(base_).directory) base_ = -1;
}

int TImageDrive::Locate(const std::vector<std::string>& components) const {
    int at = base_;
    for (const std::string& name : components) {
        if (at < 0 || !image_->Entry(at).directory) return -1;
        at = image_->Child(at, name);
    }
    return at;
}

int TImageDrive::Locate(const std::string& path) const {
    const auto components = paths_.ImagePath(path, this);
    return components ? Locate(*components) : -1;
}

bool TImageDrive::Has(const std::string& path) const {
    const int at = Locate(path);
    return at >= 0 && !image_->Entry(at).directory;
}

bool TImageDrive::Read(const std::string& path, TMemoryStream& stream) const {
    std::string bytes;
    if (!image_->Read(Locate(path), bytes)) return false;
    stream.Assign(bytes.data(), bytes.size());
    return true;
}

std::optional<uint64_t> TImageDrive::SizeOf(const std::string& path) const {
    const int at = Locate(path);
    if (at < 0 || image_->Entry(at).directory) return std::nullopt;
    return image_->Entry(at).size;
}

bool TImageDrive::ReadPart(const std::string& path, uint64_t offset, size_t count, std::string& out) const {
    const int at = Locate(path);
    return at >= 0 && image_->ReadRange(at, offset, count, out);
}

TDynamicStringArray TImageDrive::List(const std::string& folder) const { return image_->List(Locate(folder)); }

std::optional<std::vector<RFolderEntry>> TImageDrive::ListImage(const std::vector<std::string>& components) {
    const int at = Locate(components);
    if (at < 0 || !image_->Entry(at).directory) return std::nullopt;
    std::vector<RFolderEntry> entries;
    for (const int child : image_->Entry(at).children)
        entries.push_back({image_->Entry(child).name, image_->Entry(child).directory});
    return entries;
}

bool TImageDrive::Materialize(const std::vector<std::string>& components) {
    // The copy goes where the drive's own names put it, so the host-path lookup finds it.
    fs::path host = hostRoot_;
    int at = base_;
    for (const std::string& name : components) {
        if (at < 0 || !image_->Entry(at).directory) return false;
        at = image_->Child(at, name);
        // A name that is no single component would put the copy outside the cache folder.
        if (at < 0 || !Contained::IsPlainName(image_->Entry(at).name)) return false;
        host /= Cp1251::toUtf8(image_->Entry(at).name);
    }
    if (at < 0) return false;
    const RIsoEntry& entry = image_->Entry(at);
    std::error_code ec;
    if (entry.directory) return fs::create_directories(host, ec);
    if (fs::is_regular_file(host, ec) && fs::file_size(host, ec) == entry.size) return false;
    fs::create_directories(host.parent_path(), ec);
    // Copied under a private name and renamed, so that a half-written copy is never reused.
    const std::string partial = host.string() + ".part" + std::to_string(::getpid());
    if (!image_->CopyTo(at, partial)) {
        Diagnose(TDiagnosticLayer::HostPaths, "cannot copy out of the disc image: " + host.string());
        return true;  // folders on the way may be new
    }
    // A program of this system shipped on the disc (a script or an ELF binary) runs from the
    // copy as from a mounted disc, which shows its files as executable.
    std::string head;
    if (image_->ReadRange(at, 0, std::min<size_t>(4, entry.size), head) && (head.starts_with("#!") || head == "\x7f"
                                                                                                              "ELF"))
        fs::permissions(partial, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add,
                        ec);
    fs::rename(partial, host, ec);
    if (ec) fs::remove(partial, ec);
    return true;
}

std::string ImageCacheFolder(const std::string& imageHostPath) {
    struct stat st {};
    if (::stat(imageHostPath.c_str(), &st) != 0) return {};
    fs::path base;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) base = cache;
    else if (const char* home = std::getenv("HOME"); home && *home) base = fs::path(home) / ".cache";
    else base = fs::temp_directory_path();
    const long long stamp = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    const std::string key =
        fs::path(imageHostPath).filename().string() + "-" + std::to_string(st.st_size) + "-" + std::to_string(stamp);
    return (base / "bookshell" / "images" / key).string();
}
