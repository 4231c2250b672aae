#include "search/PageCharset.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <optional>

#include "base/Cp1251.h"

namespace {

constexpr size_t kMetaWindow = 4096;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix) {
    return text.size() - std::min(at, text.size()) >= prefix.size() &&
           Cp1251::asciiEqualsNoCase(text.substr(at, prefix.size()), prefix);
}

std::string Trimmed(std::string_view label) {
    while (!label.empty() && IsSpace(label.front())) label.remove_prefix(1);
    while (!label.empty() && IsSpace(label.back())) label.remove_suffix(1);
    return Cp1251::asciiLower(label);
}

// The charset a label names, or nothing for a label outside the known set.
std::optional<TPageCharset> CharsetOfLabel(std::string_view rawLabel) {
    const std::string label = Trimmed(rawLabel);
    const auto in = [&label](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), label) != names.end();
    };
    if (in({"windows-1251", "cp1251", "x-cp1251"})) return TPageCharset::Windows1251;
    if (in({"utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8", "utf-16",
            "utf-16le", "utf-16be", "unicode", "unicodefeff", "unicodefffe", "ucs-2", "csunicode", "iso-10646-ucs-2"}))
        return TPageCharset::Utf8;
    if (in({"koi8-r", "koi8_r", "koi8", "koi", "cskoi8r"})) return TPageCharset::Koi8R;
    if (in({"koi8-u", "koi8-ru"})) return TPageCharset::Koi8U;
    if (in({"iso-8859-5", "iso8859-5", "iso88595", "iso_8859-5", "iso_8859-5:1988", "iso-ir-144", "cyrillic",
            "csisolatincyrillic"}))
        return TPageCharset::Iso88595;
    if (in({"ibm866", "cp866", "866", "csibm866"})) return TPageCharset::Ibm866;
    return std::nullopt;
}

// The label after "charset=" in a content attribute, as browsers extract it.
std::string_view CharsetInContent(std::string_view content) {
    for (size_t at = 0; at + 7 <= content.size(); ++at) {
        if (!StartsWithNoCase(content, at, "charset")) continue;
        size_t i = at + 7;
        while (i < content.size() && IsSpace(content[i])) ++i;
        if (i >= content.size() || content[i] != '=') continue;
        ++i;
        while (i < content.size() && IsSpace(content[i])) ++i;
        if (i < content.size() && (content[i] == '"' || content[i] == '\'')) {
            const size_t end = content.find(content[i], i + 1);
            return end == std::string_view::npos ? std::string_view() : content.substr(i + 1, end - i - 1);
        }
        size_t end = i;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';') ++end;
        return content.substr(i, end - i);
    }
    return {};
}

struct RMetaAttributes {
    std::string_view charset, httpEquiv, content;
    bool hasCharset = false;
};

// Reads the attributes of a meta tag starting at i (just after "<meta"); stops at '>' or the end.
RMetaAttributes ReadMeta(std::string_view head, size_t i) {
    RMetaAttributes meta;
    while (i < head.size() && head[i] != '>') {
        if (IsSpace(head[i]) || head[i] == '/') { ++i; continue; }
        const size_t nameStart = i;
        while (i < head.size() && !IsSpace(head[i]) && head[i] != '=' && head[i] != '>' && head[i] != '/') ++i;
        const std::string name = Cp1251::asciiLower(head.substr(nameStart, i - nameStart));
        while (i < head.size() && IsSpace(head[i])) ++i;
        std::string_view value;
        if (i < head.size() && head[i] == '=') {
            ++i;
            while (i < head.size() && IsSpace(head[i])) ++i;
            if (i < head.size() && (head[i] == '"' || head[i] == '\'')) {
                const size_t end = std::min(head.find(head[i], i + 1), head.size());
                value = head.substr(i + 1, end - i - 1);
                i = std::min(end + 1, head.size());
            } else {
                const size_t start = i;
                while (i < head.size() && !IsSpace(head[i]) && head[i] != '>') ++i;
                value = head.substr(start, i - start);
            }
        }
        if (name == "charset") { meta.charset = value; meta.hasCharset = true; }
        else if (name == "http-equiv") meta.httpEquiv = value;
        else if (name == "content") meta.content = value;
    }
    return meta;
}

std::optional<TPageCharset> CharsetOfMeta(const RMetaAttributes& meta) {
    if (meta.hasCharset) return CharsetOfLabel(meta.charset);
    if (Trimmed(meta.httpEquiv) != "content-type") return std::nullopt;
    return CharsetOfLabel(CharsetInContent(meta.content));
}

} // namespace

TPageCharset DetectPageCharset(std::string_view html) {
    if (html.starts_with("\xEF\xBB\xBF")) return TPageCharset::Utf8;
    if (html.starts_with("\xFF\xFE")) return TPageCharset::Utf16LE;
    if (html.starts_with("\xFE\xFF")) return TPageCharset::Utf16BE;
    const std::string_view head = html.substr(0, kMetaWindow);
    for (size_t i = 0; i < head.size(); ++i) {
        if (head[i] != '<') continue;
        if (head.substr(i, 4) == "<!--") {
            const size_t end = head.find("-->", i + 4);
            if (end == std::string_view::npos) break;
            i = end + 2;
        } else if (StartsWithNoCase(head, i, "<meta") && i + 5 < head.size() &&
                   (IsSpace(head[i + 5]) || head[i + 5] == '/')) {
            if (const auto charset = CharsetOfMeta(ReadMeta(head, i + 5))) return *charset;
        }
    }
    return TPageCharset::Windows1251;
}

namespace {

// Largest input converted through ICU, whose lengths are 32-bit; three output bytes per input byte.
constexpr size_t kMaxConverted = 0x20000000;

// Decodes with ICU's converter for the named charset; undecodable bytes become U+FFFD.
std::string ConvertToUtf8(std::string_view bytes, const char* icuName) {
    if (bytes.size() > kMaxConverted) return "\xEF\xBF\xBD";
    std::string out(bytes.size() * 3 + 4, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_convert("UTF-8", icuName, out.data(), int32_t(out.size()), bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status)) return Cp1251::toUtf8(bytes);
    out.resize(size_t(length));
    return out;
}

} // namespace

std::string PageToUtf8(std::string_view html, TPageCharset charset) {
    switch (charset) {
    case TPageCharset::Utf8:
        if (html.starts_with("\xEF\xBB\xBF")) html.remove_prefix(3);
        return std::string(html);
    case TPageCharset::Utf16LE:
    case TPageCharset::Utf16BE:
        if (html.starts_with("\xFF\xFE") || html.starts_with("\xFE\xFF")) html.remove_prefix(2);
        return ConvertToUtf8(html, charset == TPageCharset::Utf16LE ? "UTF-16LE" : "UTF-16BE");
    case TPageCharset::Koi8R: return ConvertToUtf8(html, "KOI8-R");
    case TPageCharset::Koi8U: return ConvertToUtf8(html, "KOI8-U");
    case TPageCharset::Iso88595: return ConvertToUtf8(html, "ISO-8859-5");
    case TPageCharset::Ibm866: return ConvertToUtf8(html, "IBM866");
    case TPageCharset::Windows1251: break;
    }
    return Cp1251::toUtf8(html);
}
