#include "html/engine/PageContent.h"

#include <cctype>

#include "base/Cp1251.h"
#include "base/WinPath.h"

namespace {

constexpr size_t kCharsetScan = 4096;  // a <meta> further down is not looked for

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

const char* PictureType(std::string_view bytes) {
    if (StartsWith(bytes, "GIF8")) return "image/gif";
    if (StartsWith(bytes, "\x89PNG")) return "image/png";
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return "image/jpeg";
    if (StartsWith(bytes, "BM")) return "image/bmp";
    if (StartsWith(bytes, std::string_view("\0\0\1\0", 4))) return "image/x-icon";
    return nullptr;
}

} // namespace

std::string DeclaredCharset(std::string_view html) {
    const std::string text = Cp1251::asciiLower(html.substr(0, kCharsetScan));
    size_t at = 0;
    while ((at = text.find("<meta", at)) != std::string::npos) {
        const size_t end = text.find('>', at);
        const std::string tag = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at += 5;
        size_t pos = tag.find("charset");
        if (pos == std::string::npos) continue;
        pos += 7;
        while (pos < tag.size() && (std::isspace(static_cast<unsigned char>(tag[pos])) || tag[pos] == '=' || tag[pos] == '"' || tag[pos] == '\''))
            ++pos;
        std::string name;
        while (pos < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[pos])) || tag[pos] == '-' || tag[pos] == '_' || tag[pos] == ':' || tag[pos] == '.'))
            name += tag[pos++];
        if (!name.empty()) return name;
    }
    return {};
}

std::string PageContentType(const std::string& winPath, std::string_view bytes) {
    const std::string ext = Cp1251::asciiLower(WinPath::Extension(winPath));
    if (ext == ".css") return "text/css";
    if (const char* picture = PictureType(bytes)) return picture;
    if (ext.starts_with(".htm") || ext == ".shtml") {
        const std::string charset = DeclaredCharset(bytes);
        return "text/html;charset=" + (charset.empty() ? std::string("windows-1251") : charset);
    }
    if (ext == ".txt" || ext == ".inf" || ext == ".diz") return "text/plain;charset=windows-1251";
    if (ext == ".js") return "text/javascript;charset=windows-1251";
    if (ext == ".svg") return "image/svg+xml";
    return "application/octet-stream";
}
