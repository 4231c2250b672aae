#include "HostTree.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "Cli.h"
#include "base/ContainedPath.h"
#include "base/Cp1251.h"

namespace {

std::string joinHost(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

// Makes one folder; an existing real folder is fine, anything else there is an error.
void makeOneFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return;
    const int error = errno;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        throw Failure("cannot create folder " + Quoted(path) + ": a symbolic link is in the way");
    throw Failure("cannot create folder " + Quoted(path) + ": " + std::strerror(error == EEXIST ? ENOTDIR : error));
}

} // namespace

std::vector<THostItem> ReadFolder(const std::string& path) {
    struct DirCloser {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, DirCloser> dir(::opendir(path.c_str()));
    if (!dir) throw Failure("cannot open folder " + Quoted(path) + ": " + std::strerror(errno));
    std::vector<THostItem> items;
    errno = 0;
    while (const dirent* d = ::readdir(dir.get())) {
        const std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        THostItem item;
        item.name = name;
        item.path = joinHost(path, name);
        struct stat st {};
        if (::stat(item.path.c_str(), &st) != 0) throw Failure("cannot read " + Quoted(item.path) + ": " + std::strerror(errno));
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
            throw Failure(Quoted(item.path) + " is neither a regular file nor a folder");
        item.folder = S_ISDIR(st.st_mode);
        item.device = st.st_dev;
        item.inode = st.st_ino;
        items.push_back(std::move(item));
        errno = 0;
    }
    if (errno != 0) throw Failure("cannot read folder " + Quoted(path) + ": " + std::strerror(errno));
    // std::string compares as unsigned bytes: byte-wise order, UTF-8 code point order.
    std::sort(items.begin(), items.end(), [](const THostItem& a, const THostItem& b) { return a.name < b.name; });
    return items;
}

bool IsSameFile(const THostItem& item, const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_dev == item.device && st.st_ino == item.inode;
}

std::string HostNameToCp1251(const std::string& name, const std::string& hostPath) {
    bool ok = false;
    std::string converted = Cp1251::fromUtf8(name, &ok);
    if (!ok) throw Failure(Quoted(hostPath) + ": the name has characters that CP1251 lacks");
    return converted;
}

// The program's own rule for names joined to a host folder decides; this only says why.
std::string NameProblem(std::string_view name) {
    if (Contained::IsPlainName(name)) return {};
    if (name.empty()) return "empty name";
    if (name == "." || name == "..") return "name " + Quoted(name) + " would leave the folder";
    if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
        return "name " + Quoted(Cp1251::toUtf8(name)) + " holds a path separator or NUL";
    return "name " + Quoted(Cp1251::toUtf8(name)) + " holds a drive or stream colon";
}

TOutputFolder::TOutputFolder(std::string root) : root_(std::move(root)) {
    // Create the root and any missing parents; these are the user's own path, links allowed.
    for (size_t slash = root_.find('/', 1); slash != std::string::npos; slash = root_.find('/', slash + 1))
        ::mkdir(root_.substr(0, slash).c_str(), 0777);
    if (::mkdir(root_.c_str(), 0777) != 0 && errno != EEXIST)
        throw Failure("cannot create folder " + Quoted(root_) + ": " + std::strerror(errno));
    struct stat st {};
    if (::stat(root_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) throw Failure(Quoted(root_) + " is not a folder");
}

std::string TOutputFolder::HostPath(const std::vector<std::string_view>& names) const {
    std::string path = root_;
    for (const std::string_view name : names) path = joinHost(path, Cp1251::toUtf8(name));
    return path;
}

void TOutputFolder::MakeFolder(const std::vector<std::string_view>& names) {
    std::string path = root_;
    for (const std::string_view name : names) {
        path = joinHost(path, Cp1251::toUtf8(name));
        makeOneFolder(path);
    }
}

bool TOutputFolder::WriteFile(const std::vector<std::string_view>& names, std::string_view data) {
    if (names.empty()) throw Failure("empty path");
    MakeFolder({names.begin(), names.end() - 1});
    const std::string path = HostPath(names);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && written_.count({st.st_dev, st.st_ino})) return false;
    // O_NOFOLLOW: a symbolic link already in the destination is never written through.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) throw Failure("cannot write " + Quoted(path) + ": " + std::strerror(errno));
    bool ok = true;
    while (ok && !data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) data.remove_prefix(static_cast<size_t>(n));
    }
    const int error = errno;
    if (ok && ::fstat(fd, &st) == 0) written_.insert({st.st_dev, st.st_ino});
    if (::close(fd) != 0 && ok) throw Failure("cannot write " + Quoted(path) + ": " + std::strerror(errno));
    if (!ok) throw Failure("cannot write " + Quoted(path) + ": " + std::strerror(error));
    return true;
}
