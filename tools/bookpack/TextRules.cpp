#include "TextRules.h"

#include "base/Cp1251.h"

TTextEncoding EncodingOption(const TArgs& args) {
    const std::string value = args.Value("--encoding", "utf-8");
    if (value == "utf-8" || value == "utf8" || value == "UTF-8") return TTextEncoding::Utf8;
    if (value == "cp1251" || value == "CP1251" || value == "windows-1251") return TTextEncoding::Cp1251;
    throw UsageError("--encoding must be utf-8 or cp1251, not " + Quoted(value));
}

bool IsCfsName(std::string_view name) {
    return name.size() >= 4 && Cp1251::asciiEqualsNoCase(name.substr(name.size() - 4), ".cfs");
}

std::string PrepareCfsText(std::string_view bytes, TTextEncoding encoding, const std::string& fileName) {
    std::string text;
    if (encoding == TTextEncoding::Cp1251) {
        text = bytes;
    } else {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        // Line by line, so an error can say where the bad character is.
        size_t lineNumber = 1;
        for (size_t start = 0; start <= bytes.size(); ++lineNumber) {
            size_t end = bytes.find('\n', start);
            if (end == std::string_view::npos) end = bytes.size();
            bool ok = false;
            text += Cp1251::fromUtf8(bytes.substr(start, end - start), &ok);
            if (!ok)
                throw Failure(Quoted(fileName) + " line " + std::to_string(lineNumber) +
                              ": not UTF-8, or a character that CP1251 lacks");
            if (end < bytes.size()) text += '\n';
            start = end + 1;
        }
    }
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string CfsTextToUtf8(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return Cp1251::toUtf8(plain);
}
