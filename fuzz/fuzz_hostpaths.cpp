// Maps the input, read as Windows paths, through the host paths of a small disc: no path a disc
// or a page holds may reach outside its drive's folder, and none may crash the mapping.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/hostpaths/HostPaths.h"

namespace {

std::string& discRoot() {
    static std::string root = [] {
        namespace fs = std::filesystem;
        std::string templ = (fs::temp_directory_path() / "bookshell-fuzz-disc-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        fs::create_directories(fs::path(templ) / "RUN" / "Html");
        std::FILE* f = std::fopen((templ + "/RUN/Html/Index.htm").c_str(), "w");
        if (f) std::fclose(f);
        return templ;
    }();
    return root;
}

void checkInside(const std::optional<std::string>& host, const std::string& root) {
    if (!host) return;
    const std::string normal = std::filesystem::path(*host).lexically_normal().string();
    if (normal != root && normal.compare(0, root.size() + 1, root + "/") != 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static THostPaths paths;
    static const bool ready = [] {
        paths.SetDrive('d', discRoot());
        paths.SetCurrentDirectory("d:\\run\\");
        return true;
    }();
    (void)ready;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& path : {text, "d:\\" + text, "d:\\run\\" + text, "\\" + text}) {
        if (path.empty() || path[0] == '/') continue;  // host paths are the z: drive by design
        if (path.size() >= 2 && path[1] == ':' && (path[0] | 0x20) != 'd') continue;
        checkInside(paths.ToHost(path), discRoot());
        checkInside(paths.Find(path), discRoot());
        checkInside(paths.Find(path, true), discRoot());
        paths.List(path);
    }
    paths.ToWindows(text);
    return 0;
}
