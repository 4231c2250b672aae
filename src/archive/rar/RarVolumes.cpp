// Volume names of RAR sets: "name.part1.rar", "name.part2.rar" ... and the older "name.rar",
// "name.r00", "name.r01" ..., looked up on the host without regard to letter case.
#include "archive/rar/RarVolumes.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

#include "base/Cp1251.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t nameStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Adds one to the decimal number in text[begin, end), growing it by a digit when it overflows.
void countUp(std::string& text, size_t begin, size_t end) {
    for (size_t i = end; i > begin; --i) {
        if (text[i - 1] != '9') {
            ++text[i - 1];
            return;
        }
        text[i - 1] = '0';
    }
    text.insert(begin, 1, '1');
}

// "name.partN.rar": the last digits before the extension, when there are any.
bool nextNewName(std::string& path) {
    const size_t start = nameStart(path);
    if (path.size() < start + 5 || !Cp1251::asciiEqualsNoCase(std::string_view(path).substr(path.size() - 4), ".rar"))
        return false;
    size_t end = path.size() - 4;
    size_t begin = end;
    while (begin > start && isDigit(path[begin - 1])) --begin;
    if (begin == end) return false;
    countUp(path, begin, end);
    return true;
}

// "name.rar" -> "name.r00"; "name.r99" -> "name.s00".
std::string nextOldName(const std::string& path) {
    const size_t start = nameStart(path);
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= start;
    const std::string base = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot + 1) : "";
    const bool upper = !extension.empty() && std::isupper(static_cast<unsigned char>(extension[0]));
    if (extension.size() == 3 && std::isalpha(static_cast<unsigned char>(extension[0])) && isDigit(extension[1]) &&
        isDigit(extension[2]) && !Cp1251::asciiEqualsNoCase(extension, "rar")) {
        std::string next = extension;
        countUp(next, 1, 3);
        if (next.size() > 3) {
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(extension[0])));
            if (letter >= 'z') return {};
            next = std::string(1, static_cast<char>(upper ? std::toupper(letter + 1) : letter + 1)) + "00";
        }
        return base + "." + next;
    }
    return base + (upper ? ".R00" : ".r00");
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string NextRarVolumeName(const std::string& path, bool newNaming) {
    std::string next = path;
    if (newNaming && nextNewName(next)) return next;
    return nextOldName(path);
}

std::string FindRarVolume(const std::string& path) {
    if (path.empty()) return {};
    if (isRegularFile(path)) return path;
    const size_t start = nameStart(path);
    const std::string folder = start == 0 ? "." : path.substr(0, start);
    const std::string name = path.substr(start);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return {};
    std::string found;
    while (const dirent* item = readdir(dir)) {
        const std::string candidate = (start == 0 ? "" : folder) + item->d_name;
        if (Cp1251::asciiEqualsNoCase(item->d_name, name) && isRegularFile(candidate)) {
            found = candidate;
            break;
        }
    }
    closedir(dir);
    return found;
}
