// Reads the input as a page of the book and looks two words up in its text: a fixed one and one
// taken from the input. No page may crash the parser, the decoder or the matcher.
#include <cstdint>
#include <string>

#include "search/PageText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    const TPageText text = ExtractPageText(html);
    PageContains(text, "\xF2\xEE\xF0\xEC\xEE\xE7", false);  // тормоз
    PageContains(text, html.substr(0, std::min<size_t>(size, 8)), size % 2 == 1);
    return 0;
}
