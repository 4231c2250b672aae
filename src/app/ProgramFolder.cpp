#include "app/ProgramFolder.h"

#include <filesystem>

#include "base/Cp1251.h"

namespace fs = std::filesystem;

namespace {
bool holdsBundle(const fs::path& dir) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (Cp1251::equalsNoCase(Cp1251::fromUtf8(entry.path().filename().string()), "zaz.dhl")) return true;
    return false;
}
} // namespace

std::string ChooseProgramFolder(const std::string& discOption, const std::string& executableDir) {
    if (!discOption.empty()) return discOption;
    if (!executableDir.empty() && holdsBundle(executableDir)) return executableDir;
    for (const char* candidate : {BOOKSHELL_INSTALLED_SAMPLE, BOOKSHELL_BUILD_SAMPLE})
        if (holdsBundle(candidate)) return candidate;
    return {};
}
