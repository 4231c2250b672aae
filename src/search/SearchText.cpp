#include "search/SearchText.h"

#include <unicode/ucoleitr.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace SearchText {
namespace {

struct CollatorClose {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorClose>;

// Russian rules plus й as its own primary letter: the root order treats the breve as a
// secondary difference, which would make и and й equal at primary strength.
CollatorPtr OpenTailored(UCollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    const CollatorPtr russian(ucol_open("ru", &status));
    if (U_FAILURE(status)) throw std::runtime_error("ICU: no Russian collator");
    int32_t length = 0;
    const UChar* base = ucol_getRules(russian.get(), &length);
    std::u16string rules(reinterpret_cast<const char16_t*>(base), size_t(length));
    rules += u"&\u0438<\u0439<<<\u0419";  // &и<й<<<Й
    UParseError parseError{};
    CollatorPtr tailored(ucol_openRules(reinterpret_cast<const UChar*>(rules.data()), int32_t(rules.size()), UCOL_DEFAULT,
                                        strength, &parseError, &status));
    if (U_FAILURE(status) || !tailored) throw std::runtime_error("ICU: cannot tailor the Russian collator");
    return tailored;
}

} // namespace

char32_t Fold(char32_t c) {
    switch (c) {
    case 0x2018: case 0x2019: case 0x201A: return U'\'';
    case 0x201C: case 0x201D: case 0x201E: return U'"';
    case 0x00AD: return 0;
    case 0xFFFE: case 0xFFFF: return 0xFFFD;
    default: return c;
    }
}

const UCollator* Collator(bool caseSensitive) {
    static const CollatorPtr primary = OpenTailored(UCOL_PRIMARY);
    static const CollatorPtr tertiary = OpenTailored(UCOL_TERTIARY);
    return caseSensitive ? tertiary.get() : primary.get();
}

std::vector<uint32_t> PrimaryWeights(std::u16string_view text) {
    std::vector<uint32_t> weights;
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements* elements =
        ucol_openElements(Collator(false), reinterpret_cast<const UChar*>(text.data()), int32_t(text.size()), &status);
    if (U_FAILURE(status)) return weights;
    weights.reserve(text.size());
    for (int32_t ce = ucol_next(elements, &status); ce != UCOL_NULLORDER && U_SUCCESS(status);
         ce = ucol_next(elements, &status)) {
        const auto primary = uint32_t(ucol_primaryOrder(ce));
        if (primary != 0) weights.push_back(primary);
    }
    ucol_closeElements(elements);
    return weights;
}

} // namespace SearchText
