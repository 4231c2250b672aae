#pragma once
// TPageScan: the find's question "does this page of the book hold the word?" answered from the
// page's text, as a browser's find in the page would answer it. Each page is read and its text
// extracted once per run (within the cache's budget); a page that cannot be read holds nothing.
#include <memory>
#include <string>

#include "search/PageText.h"
#include "search/PageTextCache.h"

class TPageScan {
public:
    bool Contains(const std::string& file, const std::string& word, bool matchCase);
    size_t CachedPages() const { return texts_.Size(); }

private:
    const TPageText& TextOf(const std::string& file);

    TPageTextCache texts_;  // by lower-cased path
    std::unique_ptr<TTextMatcher> matcher_;
    std::string word_;
    bool matchCase_ = false;
};
