// Joins the input, read as a CP1251 name from a disc, a pack, an image or an archive, to host
// folders through the containment helper. Whatever comes back lies inside the folder and is made
// of the name's own components, each a plain name; the folder holds a link leading out ("out")
// and one staying inside ("in"), and only a name through "out" may be refused for its links.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"

namespace fs = std::filesystem;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

const fs::path& folder() {
    static const fs::path root = [] {
        std::string templ = (fs::temp_directory_path() / "bookshell-fuzz-contained-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        const fs::path made = fs::path(templ) / "root";
        fs::create_directories(made / "sub");
        fs::create_directory_symlink("/", made / "out");
        fs::create_directory_symlink("sub", made / "in");
        return made;
    }();
    return root;
}

// joined is base followed by exactly the components, each a plain name before and after its
// conversion back to CP1251.
void checkJoined(const fs::path& joined, const fs::path& base, const std::vector<std::string>& parts) {
    auto at = joined.begin();
    for (const fs::path& part : base) {
        if (part.empty()) continue;  // a trailing separator
        check(at != joined.end() && *at == part);
        ++at;
    }
    size_t n = 0;
    for (; at != joined.end(); ++at, ++n) {
        check(n < parts.size() && at->string() == parts[n]);
        check(Contained::IsPlainName(parts[n]) && Contained::IsPlainName(Cp1251::fromUtf8(parts[n])));
    }
    check(n == parts.size());
}

void joinTo(const fs::path& base, const std::string& name) {
    const auto parts = Contained::Components(name);
    const auto joined = Contained::Join(base, name);
    if (!parts) return check(!joined);
    check(!parts->empty());
    for (const std::string& part : *parts) check(Contained::IsPlainName(part));
    if (!joined) return check(parts->front() == "out");
    checkJoined(*joined, base, *parts);
    check(Contained::Inside(*joined, base));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    joinTo(folder(), name);
    joinTo(folder() / "", name);      // the folder given with a trailing separator
    joinTo("relative/folder", name);  // and as a relative path that does not exist
    return 0;
}
