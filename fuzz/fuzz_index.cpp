// Reads the input as each of the book's index files: the keyword list, the page numbers, the
// page table and the thesaurus. Nothing in them may crash a reader.
#include <cstdint>
#include <string>
#include <vector>

#include "search/MakeFind.h"
#include "search/TesaurusFind.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto stream = [&] {
        TMemoryStream s;
        s.Assign(data, size);
        return s;
    };
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string word = text.substr(0, std::min<size_t>(text.find('\r'), 32));
    TMemoryStream keywords = stream();
    const int k = FindKeywordLine(keywords, word, size % 2 == 0);
    std::vector<int> pages;
    TMemoryStream index = stream();
    ReadPageNumbers(index, k > 0 ? k : 1 + int(size % 5), pages);
    TDynamicStringArray files, titles;
    TMemoryStream list = stream();
    AddListedPages(list, pages, files, titles);
    if (files.size() != titles.size()) __builtin_trap();
    std::string page;
    TMemoryStream thesaurus = stream();
    FindThesaurusPage(thesaurus, word, page);
    TMemoryStream start = stream();
    FindThesaurusPage(start, "", page);
    return 0;
}
