#include "app/PageScan.h"

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/BookFiles.h"

const TPageText* TPageScan::TextOf(const std::string& file) {
    const std::string key = Cp1251::lower(file);
    auto found = texts_.find(key);
    if (found == texts_.end()) {
        std::unique_ptr<TPageText> text;
        try {
            TMemoryStream stream;
            BookFiles().Read(file, stream);
            text = std::make_unique<TPageText>(ExtractPageText(stream.View()));
        } catch (const EFileError&) {
        }
        found = texts_.emplace(key, std::move(text)).first;
    }
    return found->second.get();
}

bool TPageScan::Contains(const std::string& file, const std::string& word, bool matchCase) {
    const TPageText* text = TextOf(file);
    if (!text) return false;
    if (!matcher_ || word != word_ || matchCase != matchCase_) {
        matcher_ = std::make_unique<TTextMatcher>(word, matchCase);
        word_ = word;
        matchCase_ = matchCase;
    }
    return matcher_->Matches(*text);
}
