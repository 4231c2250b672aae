#include "app/ProgramFolder.h"

std::string ChooseProgramFolder(const std::string& discOption, const std::string& executableDir,
                                const std::vector<RMountRoot>& mountRoots, const TBookChooser& choose) {
    if (!discOption.empty()) {
        const std::string book = BookFolderIn(discOption);
        return book.empty() ? discOption : book;  // a folder without a book fails at start with its reason
    }
    if (!executableDir.empty() && HoldsBundle(executableDir)) return executableDir;
    const std::vector<std::string> mounted = FindMountedBooks(mountRoots);
    if (mounted.size() == 1) return mounted.front();
    if (mounted.size() > 1) {
        const std::string chosen = choose ? choose(mounted) : mounted.front();
        if (!chosen.empty()) return chosen;
    }
    for (const char* candidate : {BOOKSHELL_INSTALLED_SAMPLE, BOOKSHELL_BUILD_SAMPLE})
        if (HoldsBundle(candidate)) return candidate;
    return {};
}
