#include "packs/PackWriter.h"

#include <cstring>
#include <deque>
#include <stdexcept>
#include <zlib.h>

#include "packs/PackFile.h"

std::string DeflateBytes(std::string_view data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), level) != Z_OK)
        throw std::runtime_error("zlib compression failed");
    out.resize(size);
    return out;
}

struct TPackWriter::Node {
    std::string name;  // normalised
    bool directory = false;
    std::string data;  // as stored
    uint32_t unpacked = 0;
    std::vector<std::unique_ptr<Node>> children;
    std::map<std::string, Node*> byName;
};

namespace {

void putU32(std::string& out, uint32_t v) {
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start) parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

} // namespace

TPackWriter::TPackWriter() : root_(std::make_unique<Node>()) { root_->directory = true; }
TPackWriter::~TPackWriter() = default;

TPackWriter::Node& TPackWriter::Descend(std::string_view path, bool lastIsFile) {
    const auto parts = splitPath(path);
    if (parts.empty()) throw std::invalid_argument("empty path");
    Node* dir = root_.get();
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const std::string name = NormalizePackName(parts[i]);
        if (name == "." || name == "..") throw std::invalid_argument("name \"" + name + "\" is not allowed");
        if (name.size() > 63) throw std::invalid_argument("name longer than 63 bytes: " + name);
        if (name.find('\0') != std::string::npos) throw std::invalid_argument("name holds a NUL byte");
        const bool wantFile = last && lastIsFile;
        auto found = dir->byName.find(name);
        if (found != dir->byName.end()) {
            if (wantFile || !found->second->directory)
                throw std::invalid_argument("\"" + std::string(path) + "\" clashes with an entry already added");
            dir = found->second;
            continue;
        }
        auto node = std::make_unique<Node>();
        node->name = name;
        node->directory = !wantFile;
        Node* raw = node.get();
        dir->byName.emplace(name, raw);
        dir->children.push_back(std::move(node));
        dir = raw;
    }
    return *dir;
}

void TPackWriter::AddDirectory(std::string_view path) { Descend(path, false); }

void TPackWriter::AddFile(std::string_view path, std::string_view content) {
    if (content.size() > kPackMaxEntrySize) throw std::invalid_argument("file larger than a pack entry may be");
    Node& node = Descend(path, true);
    node.unpacked = static_cast<uint32_t>(content.size());
    node.data = content;
    if (compress_ && !content.empty()) {
        std::string packed = DeflateBytes(content);
        if (packed.size() < content.size()) node.data = std::move(packed);
    }
    ++files_;
}

std::string TPackWriter::Build() const {
    // Directory records in breadth-first order, root first; each directory's children take the
    // next contiguous run of entries.
    std::vector<const Node*> dirs{root_.get()};
    std::vector<const Node*> entries;
    std::vector<uint32_t> firstEntry;
    for (size_t d = 0; d < dirs.size(); ++d) {
        firstEntry.push_back(static_cast<uint32_t>(entries.size()));
        for (const auto& child : dirs[d]->children) {
            entries.push_back(child.get());
            if (child->directory) dirs.push_back(child.get());
        }
    }
    std::string block;
    putU32(block, static_cast<uint32_t>(dirs.size()));
    putU32(block, static_cast<uint32_t>(entries.size()));
    putU32(block, reserved_);
    putU32(block, 0);
    for (size_t d = 0; d < dirs.size(); ++d) {
        putU32(block, firstEntry[d]);
        putU32(block, static_cast<uint32_t>(dirs[d]->children.size()));
    }
    std::string data;
    uint32_t nextDir = 1;
    for (const Node* e : entries) {
        char name[64] = {};
        std::memcpy(name, e->name.data(), e->name.size());
        block.append(name, sizeof name);
        if (e->directory) {
            putU32(block, nextDir++);
            putU32(block, 0);
            putU32(block, 0);
            putU32(block, kPackKindDirectory);
        } else {
            if (data.size() + e->data.size() > 0xFFFFFFFFull) throw std::length_error("pack data area exceeds 4 GiB");
            putU32(block, static_cast<uint32_t>(data.size()));
            putU32(block, static_cast<uint32_t>(e->data.size()));
            putU32(block, e->unpacked);
            putU32(block, kPackKindFile);
            data += e->data;
        }
    }
    std::string storedBlock = block;
    if (compressDirectory_) {
        std::string packed = DeflateBytes(block);
        if (packed.size() < block.size()) storedBlock = std::move(packed);
    }
    const auto stored = static_cast<uint32_t>(storedBlock.size());
    const auto unpacked = static_cast<uint32_t>(block.size());
    std::string out;
    out.reserve(8 + storedBlock.size() + data.size());
    putU32(out, (unpacked - stored) ^ 0x3D5A0C71u);
    putU32(out, stored ^ 0x8E27B4F9u);
    out += storedBlock;
    out += data;
    return out;
}
