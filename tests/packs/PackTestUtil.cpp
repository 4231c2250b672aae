#include "packs/PackTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <zlib.h>

std::string U32(uint32_t v) {
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

std::string Zlib(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), 6) != Z_OK)
        throw std::runtime_error("compress2");
    out.resize(size);
    return out;
}

HandEntry HandPack::AddData(const std::string& name, const std::string& content, bool compress) {
    const std::string stored = compress ? Zlib(content) : content;
    HandEntry e{name, static_cast<uint32_t>(data.size()), static_cast<uint32_t>(stored.size()),
                static_cast<uint32_t>(content.size()), 1};
    data += stored;
    return e;
}

std::string BuildHandPack(const HandPack& pack) {
    std::string block = U32(static_cast<uint32_t>(pack.directories.size())) + U32(static_cast<uint32_t>(pack.entries.size())) +
                        U32(pack.reserved) + U32(pack.root);
    for (const auto& [first, count] : pack.directories) block += U32(first) + U32(count);
    for (const auto& e : pack.entries) {
        std::string name = e.name;
        name.resize(64, '\0');
        block += name + U32(e.offset) + U32(e.stored) + U32(e.unpacked) + U32(e.kind);
    }
    const std::string stored = pack.compressBlock ? Zlib(block) : block;
    const auto s = static_cast<uint32_t>(stored.size());
    const auto x = static_cast<uint32_t>(block.size()) - s;
    return U32(x ^ 0x3D5A0C71u) + U32(s ^ 0x8E27B4F9u) + stored + pack.data;
}

std::string MakeTempDir() {
    namespace fs = std::filesystem;
    struct Base {
        fs::path path;
        Base() {
            std::string templ = (fs::temp_directory_path() / "bookshell-test-XXXXXX").string();
            if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp");
            path = templ;
        }
        ~Base() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    static const Base base;
    static int counter = 0;
    const fs::path dir = base.path / std::to_string(++counter);
    fs::create_directories(dir);
    return dir.string();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}
