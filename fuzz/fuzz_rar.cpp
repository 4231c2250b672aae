// Opens the input as a RAR archive through the RAR library, once to list it and once to extract
// every entry into a scratch folder: no archive may crash the library, and nothing it holds may
// be written beside or above that folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/rar/RarLibrary.h"

namespace {

namespace fs = std::filesystem;

const std::string& scratch() {
    static const std::string dir = [] {
        std::string templ = (fs::temp_directory_path() / "bookshell-fuzz-rar-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        return templ;
    }();
    return dir;
}

void run(const std::string& archive, int mode, const std::string& out) {
    RAROpenArchiveData data;
    data.ArcName = archive;
    data.OpenMode = mode;
    TRarHandle handle = RAROpenArchive(data);
    if (!handle) {
        if (data.OpenResult == ERAR_SUCCESS) std::abort();
        return;
    }
    RARSetChangeVolProc(handle, [](const std::string&, int) { return 0; });
    RARHeaderData header;
    for (int i = 0; i < 4096; ++i) {
        const int result = RARReadHeader(handle, header);
        if (result == ERAR_BAD_DATA) continue;  // a header without a name: the reader goes on
        if (result != ERAR_SUCCESS) break;
        RARProcessFile(handle, i % 4 == 3 ? RAR_TEST : RAR_EXTRACT, out);
    }
    if (RARCloseArchive(handle) != ERAR_SUCCESS) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string archive = scratch() + "/input.rar";
    const std::string out = scratch() + "/out";
    std::FILE* file = std::fopen(archive.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    run(archive, RAR_OM_LIST, out);
    run(archive, RAR_OM_EXTRACT, out);
    for (const auto& item : fs::directory_iterator(scratch())) {
        const std::string name = item.path().filename().string();
        if (name != "input.rar" && name != "out") std::abort();
    }
    std::error_code ec;
    fs::remove_all(out, ec);
    return 0;
}
