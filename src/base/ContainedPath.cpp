#include "base/ContainedPath.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "base/Cp1251.h"

namespace fs = std::filesystem;

namespace Contained {

namespace {

// The path made absolute, with the longest part of it that exists resolved through its links.
fs::path Resolved(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    return (ec ? absolute : canonical).lexically_normal();
}

std::string HiddenName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    return "." + target.filename().string() + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

// Writes bytes into a new hidden file beside target; its path, or nothing (and no file).
std::optional<fs::path> WriteHidden(const fs::path& target, std::string_view bytes) {
    if (target.filename().empty()) return std::nullopt;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path hidden = target.parent_path() / HiddenName(target);
        const int fd = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return std::nullopt;
        const bool written = WriteAll(fd, bytes);
        if (::close(fd) == 0 && written) return hidden;
        ::unlink(hidden.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

std::optional<std::vector<std::string>> Components(std::string_view name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/') return std::nullopt;
    if (name.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos) return std::nullopt;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") parts.push_back(Cp1251::toUtf8(part));
        start = end + 1;
    }
    if (parts.empty()) return std::nullopt;
    return parts;
}

bool Inside(const fs::path& path, const fs::path& folder) {
    const fs::path inner = Resolved(path), outer = Resolved(folder);
    auto at = inner.begin();
    for (const fs::path& part : outer) {
        if (part.empty()) continue;  // a trailing separator
        if (at == inner.end() || *at != part) return false;
        ++at;
    }
    return true;
}

std::optional<fs::path> Join(const fs::path& folder, std::string_view name) {
    const auto parts = Components(name);
    if (!parts || folder.empty()) return std::nullopt;
    fs::path joined = folder;
    for (const std::string& part : *parts) joined /= part;
    if (!Inside(joined, folder)) return std::nullopt;
    return joined;
}

bool WriteReplacing(const fs::path& target, std::string_view bytes) {
    const auto hidden = WriteHidden(target, bytes);
    if (!hidden) return false;
    if (::rename(hidden->c_str(), target.c_str()) == 0) return true;
    ::unlink(hidden->c_str());
    return false;
}

bool WriteNew(const fs::path& target, std::string_view bytes) {
    const auto hidden = WriteHidden(target, bytes);
    if (!hidden) return false;
    const bool placed = ::renameat2(AT_FDCWD, hidden->c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    if (!placed) ::unlink(hidden->c_str());
    return placed;
}

} // namespace Contained
