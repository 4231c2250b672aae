#include "app/PageScan.h"

#include <algorithm>
#include <cctype>
#include <thread>
#include <utility>
#include <vector>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "base/WinPath.h"
#include "html/engine/PageUrl.h"
#include "packs/BookFiles.h"
#include "search/StyleSheet.h"

namespace {

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& file) {
    try {
        TMemoryStream stream;
        BookFiles().Read(file, stream);
        return std::string(stream.View());
    } catch (const EFileError&) {
        return {};
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The href's path part with its percent escapes decoded, in CP1251: escapes are UTF-8 as the
// browser writes them, and bytes that are not came from a link in the disc's own code page.
std::string HrefPath(std::string_view href) {
    const auto space = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!href.empty() && space(href.front())) href.remove_prefix(1);
    while (!href.empty() && space(href.back())) href.remove_suffix(1);
    href = href.substr(0, href.find_first_of("?#"));
    std::string bytes;
    for (size_t i = 0; i < href.size(); ++i) {
        const int high = i + 2 < href.size() && href[i] == '%' ? HexDigit(href[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(href[i + 2]) : -1;
        if (low >= 0) {
            bytes += char(high * 16 + low);
            i += 2;
        } else {
            bytes += href[i];
        }
    }
    bool utf8 = true;
    std::string cp1251 = Cp1251::fromUtf8(bytes, &utf8);
    return utf8 ? cp1251 : bytes;
}

}  // namespace

std::string SheetPath(std::string_view page, std::string_view href) {
    const std::string path = HrefPath(href);
    const bool pageHasDrive = page.size() >= 2 && std::isalpha(static_cast<unsigned char>(page[0])) && page[1] == ':';
    if (path.empty() || !pageHasDrive) return {};
    if (std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < ' ' || c == ':'; })) return {};
    const auto slash = [](char c) { return c == '/' || c == '\\'; };
    if (slash(path[0]) && path.size() > 1 && slash(path[1])) return {};  // "//host/..."
    const std::string joined = slash(path[0]) ? std::string(page.substr(0, 2)) + path : WinPath::Folder(page) + path;
    return FullPagePath(joined);
}

// The sheets of one page. Loading, they are read on first use (window thread only); else only
// those read before are found, and the others are noted as missing, for a second pass.
class TPageScan::TSheets : public IPageSheets {
public:
    TSheets(TPageScan& scan, const std::string& page, bool load) : scan_(scan), page_(page), load_(load) {}
    const TStyleSheet* LinkedSheet(std::string_view href) override {
        std::string key = Cp1251::lower(SheetPath(page_, href));
        if (key.empty()) return nullptr;
        if (load_) return scan_.LoadSheet(key);
        const auto known = scan_.sheets_.find(key);
        if (known != scan_.sheets_.end()) return known->second.get();
        missing_.push_back(std::move(key));
        return nullptr;
    }
    const std::vector<std::string>& Missing() const { return missing_; }

private:
    TPageScan& scan_;
    const std::string& page_;
    bool load_;
    std::vector<std::string> missing_;
};

TPageScan::TPageScan() = default;
TPageScan::~TPageScan() = default;

const TStyleSheet* TPageScan::LoadSheet(const std::string& key) {
    auto known = sheets_.find(key);
    if (known == sheets_.end()) {
        TStyleSheet sheet = TStyleSheet::FromFile(FileBytes(key));
        known = sheets_.emplace(key, sheet.Empty() ? nullptr : std::make_unique<TStyleSheet>(std::move(sheet))).first;
    }
    return known->second.get();
}

const TPageText& TPageScan::Text(const std::string& file) {
    const std::string key = Cp1251::lower(file);
    if (const TPageText* known = texts_.Find(key)) return *known;
    TSheets sheets(*this, file, true);
    return texts_.Store(key, ExtractPageText(FileBytes(file), &sheets));
}

// Pages are parsed on helper threads with the sheets read so far; a page that links a sheet not
// read yet is parsed again once the sheets it missed were read, so a sheet that all pages share
// costs one pass of one batch.
void TPageScan::Prepare(const TDynamicStringArray& pages, size_t from, size_t count) {
    struct RWork {
        std::string key, file, bytes;
        TPageText text;
        bool again = false;
    };
    std::vector<RWork> work;
    for (size_t i = from; i < std::min(pages.size(), from + count); ++i) {
        std::string key = Cp1251::lower(pages[i]);
        if (key.empty() || texts_.Find(key)) continue;
        if (std::none_of(work.begin(), work.end(), [&](const RWork& w) { return w.key == key; }))
            work.push_back({std::move(key), pages[i], FileBytes(pages[i]), {}, true});
    }
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
    std::vector<std::vector<std::string>> missing(work.size());
    const auto parse = [&](size_t first) {
        for (size_t i = first; i < work.size(); i += threads) {
            if (!work[i].again) continue;
            TSheets sheets(*this, work[i].file, false);
            try {
                work[i].text = ExtractPageText(work[i].bytes, &sheets);
            } catch (const std::exception&) {  // nothing may leave a helper thread
            }
            missing[i] = sheets.Missing();
        }
    };
    for (int pass = 0; pass < 2 && std::any_of(work.begin(), work.end(), [](const RWork& w) { return w.again; }); ++pass) {
        std::vector<std::jthread> helpers;
        for (size_t t = 1; t < std::min(threads, work.size()); ++t) helpers.emplace_back(parse, t);
        parse(0);
        helpers.clear();  // joins
        for (size_t i = 0; i < work.size(); ++i) {
            work[i].again = !missing[i].empty();
            for (const std::string& sheet : missing[i]) LoadSheet(sheet);
            missing[i].clear();
        }
    }
    for (RWork& w : work) texts_.Store(w.key, std::move(w.text));
}

bool TPageScan::Contains(const std::string& file, const std::string& word, bool matchCase) {
    const TPageText& text = Text(file);
    if (!matcher_ || word != word_ || matchCase != matchCase_) {
        matcher_ = std::make_unique<TTextMatcher>(word, matchCase);
        word_ = word;
        matchCase_ = matchCase;
    }
    return matcher_->Matches(text);
}
