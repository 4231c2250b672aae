#include "rules/KeyReader.h"

#include "packs/StringUtils.h"

namespace {
int valuePos(int keyPos, std::string_view key) { return keyPos + static_cast<int>(key.size()) + 1; }
}  // namespace

std::string StringKey(const std::string& line, std::string_view key) {
    const int p = Pos(key, line);
    return p ? ParseStringAt(line, valuePos(p, key)) : std::string();
}

int32_t IntKey(const std::string& line, std::string_view key) {
    const int p = Pos(key, line);
    return p ? ParseIntAt(line, p) : 0;
}

uint32_t ColorKey(const std::string& line, std::string_view key) {
    const int p = Pos(key, line);
    return p ? ParseColorAt(line, valuePos(p, key)) : 0;
}

TDynamicStringArray ListKey(const TDynamicStringArray& lines, int& i, std::string_view key) {
    if (i < 0 || size_t(i) >= lines.size() || !Pos(key, lines[size_t(i)])) return {};
    return ParseListAt(lines, i);
}
