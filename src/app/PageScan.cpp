#include "app/PageScan.h"

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/BookFiles.h"

const TPageText& TPageScan::TextOf(const std::string& file) {
    const std::string key = Cp1251::lower(file);
    if (const TPageText* known = texts_.Find(key)) return *known;
    TPageText text;
    try {
        TMemoryStream stream;
        BookFiles().Read(file, stream);
        text = ExtractPageText(stream.View());
    } catch (const EFileError&) {
    }
    return texts_.Store(key, std::move(text));
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
