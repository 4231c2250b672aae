#include "packs/StringUtils.h"

#include <charconv>
#include <climits>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "base/GlobalPaths.h"

namespace {

// The character at 1-based position p, NUL past the end.
char at(const std::string& line, int p) {
    return p >= 1 && size_t(p) <= line.size() ? line[size_t(p) - 1] : '\0';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Signed decimal of a whole text, as the format's number conversion takes it: optional
// leading blanks, an optional sign, digits, nothing after.
bool toInt(std::string_view text, int& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int decimalWidth(int value) { return static_cast<int>(std::to_string(value).size()); }

} // namespace

int Pos(std::string_view needle, std::string_view text) {
    const size_t found = text.find(needle);
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::string TrimControls(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(b, e - b));
}

int ParseIntAt(const std::string& line, int p) {
    if (p < 1) p = 1;
    const int n = static_cast<int>(line.size());
    while (p <= n && at(line, p) != '-' && !isDigit(at(line, p))) ++p;
    const int start = p;
    while (p <= n && (at(line, p) == '-' || isDigit(at(line, p)))) ++p;
    int value = -1;
    if (p == start || !toInt(std::string_view(line).substr(size_t(start) - 1, size_t(p - start)), value)) return -1;
    return value;
}

std::string ParseStringAt(const std::string& line, int p) {
    if (p < 1) p = 1;
    std::string value;
    for (char c = at(line, p); c != '\0' && c != ';'; c = at(line, ++p)) value += c;
    return TrimControls(value);
}

uint32_t ParseColorAt(const std::string& line, int p) {
    const int n = static_cast<int>(line.size());
    if (p < 1) p = 1;
    if (p > n) p = n + 1;  // every position past the end reads alike; keeps the sums below in range
    while (p <= n && !isDigit(at(line, p))) ++p;
    const int r = ParseIntAt(line, p);
    const int a = decimalWidth(r);
    const int g = ParseIntAt(line, p + a + 1);
    const int b = decimalWidth(g);
    const int bl = ParseIntAt(line, p + a + b + 2);
    return (uint32_t(r) & 0xFF) | (uint32_t(g) & 0xFF) << 8 | (uint32_t(bl) & 0xFF) << 16;
}

TDynamicStringArray ParseListAt(const TDynamicStringArray& lines, int& i) {
    TDynamicStringArray items;
    if (i < 0 || size_t(i) >= lines.size()) return items;
    const std::string* line = &lines[size_t(i)];
    const size_t open = line->find('[');
    if (open == std::string::npos) return items;
    int q = static_cast<int>(open) + 2;  // 1-based, just after "["
    while (at(*line, q) != ']') {
        std::string item;
        char c = at(*line, q);
        while (c != '\0' && c != ';' && c != ']') {
            item += c;
            c = at(*line, ++q);
        }
        items.push_back(TrimControls(item));
        if (c == '\0') {
            if (size_t(i) + 1 >= lines.size()) break;  // never closed: keep what was read
            line = &lines[size_t(++i)];
            q = 1;
        } else if (c == ';') {
            ++q;
        }
    }
    for (auto& item : items) item = SubstitutePath(item);
    return items;
}

std::vector<TPoint> ParsePolygonRegion(const TDynamicStringArray& lines, int& i) {
    const TDynamicStringArray items = ParseListAt(lines, i);
    std::vector<TPoint> points;
    for (const auto& item : items) {
        if (points.size() == kMaxPolygonPoints) break;
        const size_t comma = item.find(',');
        TPoint pt;
        if (comma == std::string::npos || !toInt(std::string_view(item).substr(0, comma), pt.x) ||
            !toInt(std::string_view(item).substr(comma + 1), pt.y))
            throw EConvertError("'" + item + "' is not a valid point");
        points.push_back(pt);
    }
    return points;
}

std::string ValueAfterFirstEquals(const std::string& text) {
    const size_t first = text.find('=');
    if (first == std::string::npos) return SubstitutePath({});
    const size_t last = text.rfind('=');
    if (last == first) return SubstitutePath(text.substr(first + 1));
    return SubstitutePath(text.substr(first + 1, last - first - 1));
}

std::string ValueAfterLastEquals(const std::string& text) {
    const size_t first = text.find('=');
    const size_t last = text.rfind('=');
    if (first == std::string::npos || first == last) return SubstitutePath({});
    return SubstitutePath(text.substr(last + 1));
}

std::string SubstitutePath(const std::string& text) {
    const size_t cd = text.find("<cd>");
    if (cd != std::string::npos) {
        std::string out = text;
        out.replace(cd, 4, CdRoot());
        return out;
    }
    if (text.find(":\\") == std::string::npos &&
        (text.find('.') != std::string::npos || text.find('\\') != std::string::npos)) {
        const size_t eq = text.rfind('=');
        if (eq != std::string::npos) return text.substr(0, eq + 1) + JoinPath(ProgramDir(), text.substr(eq + 1));
        return JoinPath(ProgramDir(), text);
    }
    return text;
}

std::string JoinPath(const std::string& base, const std::string& rel) {
    // a: 1-based position of the anchor "\" that ".." may not climb above.
    std::string path = base;
    size_t a = 0;
    const size_t drive = path.find(":\\");
    if (drive != std::string::npos) {
        const size_t rootSlash = drive + 1;
        const size_t next = path.find('\\', rootSlash + 1);
        a = (next == std::string::npos ? rootSlash : next) + 1;
    } else {
        const size_t first = path.find('\\');
        a = first == std::string::npos ? 0 : first + 1;
    }
    if (path.find('\\') != std::string::npos) {
        if (path.back() != '\\') path += '\\';
    } else {
        path += '\\';
        a = path.size();
    }
    const std::string r = TrimControls(rel);
    if (!r.empty() && r.front() == '\\') path = path.substr(0, a) + r.substr(1);
    else path += r;

    for (size_t f = path.find("\\..\\"); f != std::string::npos; f = path.find("\\..\\")) {
        if (f + 1 > a) {
            const size_t before = path.rfind('\\', f - 1);  // start of the folder name to drop
            path.erase(before + 1, f + 4 - (before + 1));
        } else {
            path.erase(f + 1, 3);
        }
    }
    return path;
}

bool IndexOfInt(const std::vector<int>& values, int key, int& index) {
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] == key) {
            index = static_cast<int>(i);
            return true;
        }
    return false;
}

bool ContainsText(const TDynamicStringArray& values, const std::string& text) {
    for (const auto& v : values)
        if (Cp1251::asciiEqualsNoCase(v, text)) return true;
    return false;
}

TDynamicStringArray SplitByDelimiter(const std::string& delimiter, const std::string& text) {
    TDynamicStringArray pieces;
    if (delimiter.empty()) {
        if (!text.empty()) pieces.push_back(text);
        return pieces;
    }
    std::string piece;
    bool seen = false;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, delimiter.size(), delimiter) == 0 && i + delimiter.size() <= text.size()) {
            std::string trimmed = TrimControls(piece);
            if (!trimmed.empty()) pieces.push_back(std::move(trimmed));
            piece.clear();
            seen = true;
            i += delimiter.size();
        } else {
            piece += text[i++];
        }
    }
    if (!piece.empty() || (seen && pieces.size() == 1)) pieces.push_back(piece);
    return pieces;
}

bool ReadStreamLine(TMemoryStream& stream, std::string& line) {
    line.clear();
    uint8_t byte = 0;
    while (stream.ReadByte(byte)) {
        if (byte == '\r') return true;
        if (byte != '\n') line += static_cast<char>(byte);
    }
    return false;
}
