#include "search/PageText.h"

#include <unicode/usearch.h>

#include "base/Cp1251.h"
#include "search/SearchText.h"

namespace {

std::u16string FoldedWord(std::string_view cp1251) {
    std::u16string word;
    word.reserve(cp1251.size());
    for (const char byte : cp1251)
        if (const char32_t c = SearchText::Fold(Cp1251::toCodePoint(static_cast<unsigned char>(byte))))
            word.push_back(char16_t(c));  // CP1251 has only characters of the basic plane
    return word;
}

const UChar* Chars(std::u16string_view text) { return reinterpret_cast<const UChar*>(text.data()); }

} // namespace

TTextMatcher::TTextMatcher(std::string_view wordCp1251, bool caseSensitive) : word_(FoldedWord(wordCp1251)) {
    const UCollator* collator = SearchText::Collator(caseSensitive);
    // A word the collator does not weigh at this strength would match everywhere.
    if (ucol_strcoll(collator, Chars(word_), int32_t(word_.size()), nullptr, 0) == UCOL_EQUAL) return;
    weights_ = SearchText::PrimaryWeights(word_);
    static const char16_t kPlaceholder[] = u" ";  // the searcher needs some text until the first page
    UErrorCode status = U_ZERO_ERROR;
    search_ = usearch_openFromCollator(Chars(word_), int32_t(word_.size()), Chars(kPlaceholder), 1, collator, nullptr,
                                       &status);
    if (U_FAILURE(status)) {
        usearch_close(search_);
        search_ = nullptr;
    }
}

TTextMatcher::~TTextMatcher() { usearch_close(search_); }

bool TTextMatcher::Matches(const TPageText& text) const {
    if (!search_ || text.Joined().empty() || !text.MayContain(weights_)) return false;
    const std::u16string& joined = text.Joined();
    UErrorCode status = U_ZERO_ERROR;
    usearch_setText(search_, Chars(joined), int32_t(joined.size()), &status);
    if (U_FAILURE(status)) return false;
    const int32_t at = usearch_first(search_, &status);
    return U_SUCCESS(status) && at != USEARCH_DONE;
}

bool PageContains(const TPageText& text, std::string_view wordCp1251, bool caseSensitive) {
    return TTextMatcher(wordCp1251, caseSensitive).Matches(text);
}
