// Runs the description-file parsers over the input split into lines at LF. Line 0 becomes
// CdRoot and line 1 ProgramDir (as start-up would set them); every line, those two included,
// is then parsed at many positions, as a list start, and as pieces of paths. Parsers must
// never fail on malformed text except ParsePolygonRegion, which may raise EConvertError.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "base/MemoryStream.h"
#include "packs/StringUtils.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool hasOuterControl(const std::string& s) {
    return !s.empty() && (static_cast<unsigned char>(s.front()) <= 32 || static_cast<unsigned char>(s.back()) <= 32);
}

// Keys the interface description looks up, so that their positions get parsed too.
const char* const kKeys[] = {"vx", "vy", "vw", "vh", "go", "hint", "color", "vertexmain", "=", "[", ","};

void parseAt(const std::string& line, int p) {
    ParseIntAt(line, p);
    const std::string value = ParseStringAt(line, p);
    check(value.find(';') == std::string::npos && value.find('\0') == std::string::npos);
    check(!hasOuterControl(value));
    ParseColorAt(line, p);
}

void parseLine(const std::string& line) {
    const int n = static_cast<int>(line.size());
    for (const int p : {INT_MIN, -1, 0, 1, 2, n / 2, n - 1, n, n + 1, n + 2, n + 1000, INT_MAX - 1, INT_MAX})
        parseAt(line, p);
    for (const char* key : kKeys) {
        const int p = Pos(key, line);
        if (p == 0) continue;
        const int after = p + static_cast<int>(std::string(key).size()) + 1;
        parseAt(line, p);
        parseAt(line, after);
    }

    ValueAfterFirstEquals(line);
    ValueAfterLastEquals(line);
    SubstitutePath(line);
    check(!hasOuterControl(TrimControls(line)));
    check(SplitByDelimiter("", line).size() == (line.empty() ? 0u : 1u));
    SplitByDelimiter(";", line);
    SplitByDelimiter(line.substr(0, 2), line);
    if (const size_t cut = line.find('|'); cut != std::string::npos)
        SplitByDelimiter(line.substr(0, cut), line.substr(cut + 1));
}

void joinPieces(const std::string& base, const std::string& rel) {
    const std::string joined = JoinPath(base, rel);
    // ".." is always folded away, never left in the result.
    check(joined.find("\\..\\") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    TDynamicStringArray lines;
    size_t start = 0;
    for (size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\n') {
            lines.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    }
    SetCdRoot(lines[0]);
    SetProgramDir(lines.size() > 1 ? lines[1] : std::string());

    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        parseLine(line);
        joinPieces(ProgramDir(), line);
        joinPieces(line, k + 1 < lines.size() ? lines[k + 1] : std::string("..\\a.htm"));
        joinPieces(line.substr(0, line.size() / 2), line.substr(line.size() / 2));

        int i = static_cast<int>(k);
        ParseListAt(lines, i);
        check(i >= static_cast<int>(k) && size_t(i) < lines.size());
        i = static_cast<int>(k);
        try {
            const std::vector<TPoint> points = ParsePolygonRegion(lines, i);
            check(points.size() <= kMaxPolygonPoints);
        } catch (const EConvertError&) {
        }
        check(i >= static_cast<int>(k) && size_t(i) < lines.size());
    }
    for (int outside : {-1, static_cast<int>(lines.size()), INT_MAX}) {
        int i = outside;
        ParseListAt(lines, i);
    }

    // The input as a stream of CR-separated lines.
    TMemoryStream stream;
    stream.Write(input.data(), input.size());
    stream.Seek(0);
    std::string line;
    size_t read = 0;
    while (ReadStreamLine(stream, line)) {
        check(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
        check(++read <= size);
    }
    check(stream.Position() == stream.Size());
    return 0;
}
