#include "app/StartPaths.h"

#include "base/Cp1251.h"

std::string CdRootOf(const std::string& programDir) {
    const size_t colon = programDir.find(':');
    if (colon == std::string::npos) return "\\";
    return Cp1251::asciiLower(programDir.substr(0, colon + 1)) + "\\";
}

std::string PackPrefixOf(const std::string& programDir) {
    const std::string lower = Cp1251::asciiLower(programDir);
    const size_t run = lower.find("run\\");
    if (run == std::string::npos) return programDir;
    return programDir.substr(0, run) + programDir.substr(run + 4);
}
