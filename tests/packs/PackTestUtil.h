#pragma once
// Packs and files made byte by byte from the format tables, so that tests of the reader do not
// share the writer's reading of the format.
#include <cstdint>
#include <string>
#include <vector>

struct HandEntry {
    std::string name;
    uint32_t offset = 0;
    uint32_t stored = 0;
    uint32_t unpacked = 0;
    uint32_t kind = 1;
};

struct HandPack {
    std::vector<std::pair<uint32_t, uint32_t>> directories;  // first entry, count
    std::vector<HandEntry> entries;
    uint32_t root = 0;
    uint32_t reserved = 0;
    std::string data;
    bool compressBlock = false;

    // Appends a file's bytes to the data area (compressed with zlib when asked) and returns
    // its entry.
    HandEntry AddData(const std::string& name, const std::string& content, bool compress);
};

std::string U32(uint32_t v);
std::string Zlib(const std::string& data);
std::string BuildHandPack(const HandPack& pack);

// A fresh folder under the system's temporary folder, removed at process exit.
std::string MakeTempDir();
void WriteFileBytes(const std::string& path, const std::string& bytes);
