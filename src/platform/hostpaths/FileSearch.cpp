#include "platform/hostpaths/FileSearch.h"

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "platform/hostpaths/Drives.h"

namespace {
bool match(const char* n, const char* m) {
    // Iterative wildcard match with backtracking to the last "*".
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*m == '?' || (*m && *m != '*' && *m == *n)) {
            ++n;
            ++m;
        } else if (*m == '*') {
            star = m++;
            resume = n;
        } else if (star) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == '*') ++m;
    return *m == '\0';
}
} // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*") return true;
    return match(FoldName(name).c_str(), FoldName(mask).c_str());
}

TDynamicStringArray WalkFiles(const std::string& root, TDynamicStringArray& masks, bool recurse, bool includeDirectories) {
    TDynamicStringArray result;
    if (root.empty()) return result;
    for (auto& mask : masks) mask = Cp1251::asciiLower(mask);
    TDynamicStringArray work{WinPath::WithBackslash(root)};
    for (size_t w = 0; w < work.size(); ++w) {
        const std::string dir = work[w];
        const auto entries = HostPathsService().List(dir);
        if (includeDirectories) result.push_back(dir);
        if (!entries) continue;
        for (const auto& mask : masks)
            for (const auto& entry : *entries)
                if (!entry.directory && MatchesMask(entry.name, mask)) result.push_back(dir + entry.name);
        if (recurse)
            for (const auto& entry : *entries)
                if (entry.directory) work.push_back(dir + entry.name + "\\");
    }
    return result;
}
