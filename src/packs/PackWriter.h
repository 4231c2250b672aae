#pragma once
// Writes interface packs: names normalised, the entries of each directory contiguous, an entry
// compressed only when that makes it smaller, and the directory block compressed likewise.
// Used by the bookpack tool, the sample book and the tests.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One zlib stream (RFC 1950) of data at the given level.
std::string DeflateBytes(std::string_view data, int level = 9);

class TPackWriter {
public:
    TPackWriter();
    ~TPackWriter();

    // Adds a file at a relative path of CP1251 names separated by "\" or "/"; missing folders
    // are created. Throws std::invalid_argument for an empty or over-long name, a name that is
    // "." or "..", or a path that clashes after normalisation with one already added.
    void AddFile(std::string_view path, std::string_view content);
    void AddDirectory(std::string_view path);
    // Stores every file plain (for tests of the plain layout).
    void SetCompression(bool on) { compress_ = on; }
    void SetCompressDirectory(bool on) { compressDirectory_ = on; }
    void SetReserved(uint32_t value) { reserved_ = value; }

    size_t FileCount() const { return files_; }
    // The whole pack file.
    std::string Build() const;

private:
    struct Node;
    Node& Descend(std::string_view path, bool lastIsFile);

    std::unique_ptr<Node> root_;
    size_t files_ = 0;
    bool compress_ = true;
    bool compressDirectory_ = true;
    uint32_t reserved_ = 0;
};
