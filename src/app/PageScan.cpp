#include "app/PageScan.h"

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/BookFiles.h"

namespace {

// The page's bytes; empty when it cannot be read.
std::string PageBytes(const std::string& file) {
    try {
        TMemoryStream stream;
        BookFiles().Read(file, stream);
        return std::string(stream.View());
    } catch (const EFileError&) {
        return {};
    }
}

}  // namespace

const TPageText& TPageScan::TextOf(const std::string& file) {
    const std::string key = Cp1251::lower(file);
    if (const TPageText* known = texts_.Find(key)) return *known;
    return texts_.Store(key, ExtractPageText(PageBytes(file)));
}

void TPageScan::Prepare(const TDynamicStringArray& pages, size_t from, size_t count) {
    std::vector<std::pair<std::string, std::string>> work;  // key and bytes of each page to parse
    for (size_t i = from; i < std::min(pages.size(), from + count); ++i) {
        std::string key = Cp1251::lower(pages[i]);
        if (key.empty() || texts_.Find(key)) continue;
        if (std::none_of(work.begin(), work.end(), [&](const auto& w) { return w.first == key; }))
            work.emplace_back(std::move(key), PageBytes(pages[i]));
    }
    std::vector<TPageText> texts(work.size());
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
    const auto parse = [&](size_t first) {
        for (size_t i = first; i < work.size(); i += threads) {
            try {
                texts[i] = ExtractPageText(work[i].second);
            } catch (const std::exception&) {  // nothing may leave a helper thread
            }
        }
    };
    std::vector<std::jthread> helpers;
    for (size_t t = 1; t < std::min(threads, work.size()); ++t) helpers.emplace_back(parse, t);
    parse(0);
    helpers.clear();  // joins
    for (size_t i = 0; i < work.size(); ++i) texts_.Store(work[i].first, std::move(texts[i]));
}

bool TPageScan::Contains(const std::string& file, const std::string& word, bool matchCase) {
    const TPageText& text = TextOf(file);
    if (!matcher_ || word != word_ || matchCase != matchCase_) {
        matcher_ = std::make_unique<TTextMatcher>(word, matchCase);
        word_ = word;
        matchCase_ = matchCase;
    }
    return matcher_->Matches(text);
}
