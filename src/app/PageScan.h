#pragma once
// TPageScan: the find's question "does this page of the book hold the word?" answered from the
// page's text, as a browser's find in the page would answer it. Each page is read and its text
// extracted once per run (within the cache's budget); a page that cannot be read holds nothing.
// Prepare extracts the texts of pages a scan is about to ask for on every core: the pages are
// read on the calling thread, only their parsing runs on helper threads, which end before it
// returns. Window thread only.
#include <memory>
#include <string>

#include "base/DynamicStringArray.h"
#include "search/PageText.h"
#include "search/PageTextCache.h"

class TPageScan {
public:
    bool Contains(const std::string& file, const std::string& word, bool matchCase);
    // The pages [from, from + count) of pages (fewer at the end); empty entries are skipped.
    void Prepare(const TDynamicStringArray& pages, size_t from, size_t count);
    size_t CachedPages() const { return texts_.Size(); }

private:
    const TPageText& TextOf(const std::string& file);

    TPageTextCache texts_;  // by lower-cased path
    std::unique_ptr<TTextMatcher> matcher_;
    std::string word_;
    bool matchCase_ = false;
};
