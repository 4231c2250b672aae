// Writing archive entries below a destination folder through folder descriptors opened with
// O_NOFOLLOW, so that no symbolic link is ever followed below the destination.
#include "archive/rar/RarOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "archive/rar/RarLibrary.h"
#include "base/Cp1251.h"

namespace {

// The folder name inside parent, made when missing; -1 when it is a link, a file or cannot be made.
int openFolder(int parent, const std::string& name) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parent, name.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT) {
        if (mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
        fd = openat(parent, name.c_str(), kFlags);
    }
    return fd;
}

// destPath itself (made when missing; the caller chose it, so a link naming it is followed), then
// the first count folders below it, one at a time. The last one's descriptor, or -1.
int openFolders(const std::string& destPath, const std::vector<std::string>& folders, size_t count) {
    const std::string root = destPath.empty() ? "." : destPath;
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (size_t i = 0; i < count && fd >= 0; ++i) {
        const int next = openFolder(fd, folders[i]);
        close(fd);
        fd = next;
    }
    return fd;
}

std::string tempName() {
    static std::atomic<unsigned> counter{0};
    return ".rar-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

} // namespace

bool RarSafeComponents(const std::string& cp1251Name, std::vector<std::string>& components) {
    components.clear();
    if (cp1251Name.empty() || cp1251Name[0] == '\\' || cp1251Name[0] == '/') return false;
    if (cp1251Name.find_first_of(std::string(":\0", 2)) != std::string::npos) return false;
    size_t start = 0;
    while (start <= cp1251Name.size()) {
        size_t end = cp1251Name.find_first_of("\\/", start);
        if (end == std::string::npos) end = cp1251Name.size();
        const std::string part = cp1251Name.substr(start, end - start);
        if (part == "..") return false;
        if (!part.empty() && part != ".") components.push_back(Cp1251::toUtf8(part));
        start = end + 1;
    }
    return !components.empty();
}

TRarOutput::~TRarOutput() {
    Discard();
    if (folder_ >= 0) close(folder_);
}

void TRarOutput::Discard() {
    if (file_ >= 0) close(file_);
    file_ = -1;
    if (!temp_.empty() && folder_ >= 0) unlinkat(folder_, temp_.c_str(), 0);
    temp_.clear();
}

int TRarOutput::Open(const std::string& destPath, const std::string& cp1251Name) {
    std::vector<std::string> parts;
    if (folder_ >= 0 || !RarSafeComponents(cp1251Name, parts)) return ERAR_ECREATE;
    folder_ = openFolders(destPath, parts, parts.size() - 1);
    if (folder_ < 0) return ERAR_ECREATE;
    name_ = parts.back();
    struct stat st {};
    if (fstatat(folder_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && (S_ISLNK(st.st_mode) || S_ISDIR(st.st_mode)))
        return ERAR_ECREATE;
    for (int attempt = 0; attempt < 100 && file_ < 0; ++attempt) {
        temp_ = tempName();
        file_ = openat(folder_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file_ < 0 && errno != EEXIST) break;
    }
    if (file_ < 0) temp_.clear();
    return file_ >= 0 ? ERAR_SUCCESS : ERAR_ECREATE;
}

int TRarOutput::Write(const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(file_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ERAR_EWRITE;
        data += n;
        size -= size_t(n);
    }
    return ERAR_SUCCESS;
}

int TRarOutput::Commit(bool hasTime, time_t mtime) {
    if (file_ < 0) return ERAR_ECREATE;
    if (hasTime) {
        const timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
        futimens(file_, times);
    }
    const int closed = close(file_);
    file_ = -1;
    if (closed != 0) {
        Discard();
        return ERAR_EWRITE;
    }
    if (renameat(folder_, temp_.c_str(), folder_, name_.c_str()) != 0) {
        Discard();
        return ERAR_ECREATE;
    }
    temp_.clear();
    return ERAR_SUCCESS;
}

int RarMakeFolder(const std::string& destPath, const std::string& cp1251Name) {
    std::vector<std::string> parts;
    if (!RarSafeComponents(cp1251Name, parts)) return ERAR_ECREATE;
    const int fd = openFolders(destPath, parts, parts.size());
    if (fd < 0) return ERAR_ECREATE;
    close(fd);
    return ERAR_SUCCESS;
}
