#include "base/WinPath.h"

namespace WinPath {

size_t NameStart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/:");
    return separator == std::string_view::npos ? 0 : separator + 1;
}

std::string FileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string Folder(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

namespace {
size_t ExtensionStart(std::string_view path) {
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < NameStart(path) ? path.size() : dot;
}
} // namespace

std::string Extension(std::string_view path) { return std::string(path.substr(ExtensionStart(path))); }

std::string WithoutExtension(std::string_view path) { return std::string(path.substr(0, ExtensionStart(path))); }

std::pair<std::string, std::string> SplitAnchor(std::string_view path) {
    const size_t hash = path.find('#');
    if (hash == std::string_view::npos) return {std::string(path), {}};
    return {std::string(path.substr(0, hash)), std::string(path.substr(hash + 1))};
}

std::string WithoutAnchor(std::string_view path) { return std::string(path.substr(0, path.find('#'))); }

std::string WithBackslash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '\\') out += '\\';
    return out;
}

} // namespace WinPath
