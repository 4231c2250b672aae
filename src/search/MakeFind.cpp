#include "search/MakeFind.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "base/WinPath.h"
#include "packs/ComprStream.h"
#include "packs/PackFile.h"
#include "packs/StringUtils.h"

namespace {

// "Индескный(е) файл(ы) не найден", spelt as the book's users know it.
const char* const kIndexMissing = "\xC8\xED\xE4\xE5\xF1\xEA\xED\xFB\xE9(\xE5) \xF4\xE0\xE9\xEB(\xFB) \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED";
// "Индексный файл не найден (" + name + ")"
const char* const kFileMissing = "\xC8\xED\xE4\xE5\xEA\xF1\xED\xFB\xE9 \xF4\xE0\xE9\xEB \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED (";

// The decimal value of a piece of digits only; "$1F", "+3" and "-3" are no page numbers.
bool pageNumber(const std::string& piece, int& value) {
    if (piece.empty() || !std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    return error == std::errc() && end == piece.data() + piece.size();
}

// Opens an index file; one that cannot be read is reported by name.
std::unique_ptr<TComprStream> openIndex(const std::string& path, const char* name, const TMakeFind::TMessage& message) {
    try {
        return std::make_unique<TComprStream>(path);
    } catch (const EFOpenError&) {
        if (message) message(std::string(kFileMissing) + name + ")");
        return nullptr;
    }
}

}  // namespace

void TMakeFind::SetIndexFolder(const std::string& folder) {
    folder_ = folder;
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
}

bool TMakeFind::IndexFilesExist() const {
    return PackFileExists(Path("keywords.idx")) && PackFileExists(Path("index.idx")) && PackFileExists(Path("files.idx"));
}

int FindKeywordLine(TMemoryStream& keywords, const std::string& word, bool caseSensitive) {
    std::string line;
    for (int k = 1;; ++k) {
        const bool more = ReadStreamLine(keywords, line);
        if (!more && line.empty()) return 0;
        if (line.size() == word.size() && (caseSensitive ? line == word : Cp1251::equalsNoCase(line, word))) return k;
        if (!more) return 0;
    }
}

bool ReadPageNumbers(TMemoryStream& index, int k, std::vector<int>& pages) {
    std::string line;
    bool more = true;
    for (int n = 1; n <= k; ++n) {
        if (!more) return false;  // fewer than k lines
        more = ReadStreamLine(index, line);
        if (!more && line.empty()) return false;
    }
    for (const std::string& piece : SplitByDelimiter(":", line)) {
        int page = 0;
        if (pageNumber(TrimControls(piece), page)) pages.push_back(page);
    }
    return true;
}

void AddListedPages(TMemoryStream& files, const std::vector<int>& pages, TDynamicStringArray& names,
                    TDynamicStringArray& titles) {
    std::string line;
    for (int m = 1;; ++m) {
        const bool more = ReadStreamLine(files, line);
        if (!more && line.empty()) return;
        if (std::find(pages.begin(), pages.end(), m) != pages.end()) {
            const size_t split = line.find("#:#");
            names.push_back(TrimControls(line.substr(0, split)));
            titles.push_back(split == std::string::npos ? std::string() : line.substr(split + 3));
        }
        if (!more) return;
    }
}

bool TMakeFind::FindKeyword(const std::string& word, TDynamicStringArray& files, TDynamicStringArray& titles,
                            bool caseSensitive) {
    if (!IndexFilesExist()) {
        if (message_) message_(kIndexMissing);
        return false;
    }
    const auto keywords = openIndex(Path("keywords.idx"), "keywords.idx", message_);
    const int k = keywords ? FindKeywordLine(*keywords, word, caseSensitive) : 0;
    if (k == 0) return false;
    std::vector<int> pages;
    const auto index = openIndex(Path("index.idx"), "index.idx", message_);
    if (!index || !ReadPageNumbers(*index, k, pages)) return false;
    const auto list = openIndex(Path("files.idx"), "files.idx", message_);
    if (!list) return false;
    const size_t before = files.size();
    AddListedPages(*list, pages, files, titles);
    return files.size() > before;
}

void TPageTitles::Read(TMemoryStream& files, const std::string& folder) {
    const std::string base = WinPath::WithBackslash(folder);
    std::string line;
    for (bool more = true; more;) {
        more = ReadStreamLine(files, line);
        const size_t split = line.find("#:#");
        if (split == std::string::npos) continue;
        std::string file = Cp1251::lower(TrimControls(line.substr(0, split)));
        std::replace(file.begin(), file.end(), '/', '\\');
        if (file.empty()) continue;
        const std::string title = TrimControls(line.substr(split + 3));
        const bool hasDrive = file.size() > 1 && file[1] == ':';
        byPath_.emplace(hasDrive ? file : Cp1251::lower(base) + file, title);
        if (WinPath::NameStart(file) == 0) byName_.emplace(file, title);
    }
}

std::optional<std::string> TPageTitles::TitleOf(const std::string& path) const {
    const std::string lower = Cp1251::lower(path);
    if (const auto found = byPath_.find(lower); found != byPath_.end()) return found->second;
    if (const auto found = byName_.find(WinPath::FileName(lower)); found != byName_.end()) return found->second;
    return std::nullopt;
}
