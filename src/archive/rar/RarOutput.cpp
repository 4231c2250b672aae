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
#include "base/ContainedPath.h"

namespace {

// The folder name inside parent, made when missing and create; -1 when it is a link, a file or
// cannot be made.
int openFolder(int parent, const std::string& name, bool create) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parent, name.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT && create) {
        if (mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
        fd = openat(parent, name.c_str(), kFlags);
    }
    return fd;
}

// destPath itself (the caller chose it, so a link naming it is followed), then the first count
// folders below it, one at a time, each made when missing and create. The last one's descriptor, or -1.
int openFolders(const std::string& destPath, const std::vector<std::string>& folders, size_t count, bool create = true) {
    const std::string root = destPath.empty() ? "." : destPath;
    std::error_code ec;
    if (create) std::filesystem::create_directories(root, ec);
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (size_t i = 0; i < count && fd >= 0; ++i) {
        const int next = openFolder(fd, folders[i], create);
        close(fd);
        fd = next;
    }
    return fd;
}

// The regular file an entry named below destPath, opened for reading on the same terms; -1 when
// it is missing, a link, or anything but a regular file.
int openWritten(const std::string& destPath, const std::string& cp1251Name) {
    std::vector<std::string> parts;
    if (!RarSafeComponents(cp1251Name, parts)) return -1;
    const int folder = openFolders(destPath, parts, parts.size() - 1, false);
    if (folder < 0) return -1;
    // O_NONBLOCK: a FIFO put in the file's place must not stall the reading.
    int fd = openat(folder, parts.back().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    close(folder);
    struct stat st {};
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        fd = -1;
    }
    return fd;
}

std::string tempName() {
    static std::atomic<unsigned> counter{0};
    return ".rar-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

} // namespace

bool RarSafeComponents(const std::string& cp1251Name, std::vector<std::string>& components) {
    auto parts = Contained::Components(cp1251Name);
    components = parts ? std::move(*parts) : std::vector<std::string>{};
    return parts.has_value();
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

int RarCopyFile(const std::string& fromDest, const std::string& fromName, const std::string& destPath,
                const std::string& cp1251Name, bool hasTime, time_t mtime) {
    const int source = openWritten(fromDest, fromName);
    if (source < 0) return ERAR_ECREATE;
    TRarOutput output;
    int result = output.Open(destPath, cp1251Name);
    std::vector<char> buffer(1 << 16);
    while (result == ERAR_SUCCESS) {
        const ssize_t n = read(source, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) result = ERAR_EREAD;
        if (n <= 0) break;
        result = output.Write(buffer.data(), size_t(n));
    }
    close(source);
    return result != ERAR_SUCCESS ? result : output.Commit(hasTime, mtime);
}
