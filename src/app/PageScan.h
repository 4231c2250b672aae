#pragma once
// TPageScan: the find's question "does this page of the book hold the word?" answered from the
// page's text, as a browser's find in the page would answer it. Each page is read and its text
// extracted once per run (within the cache's budget); a page that cannot be read holds nothing.
// The style sheets pages link are read through the book's files as pages are, each parsed once
// per run; a sheet that cannot be read, or that the link would take off the page's drive, is
// absent. Prepare extracts the texts of pages a scan is about to ask for on every core: pages
// and sheets are read on the calling thread, only the parsing runs on helper threads, which end
// before it returns. Window thread only.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/DynamicStringArray.h"
#include "search/PageText.h"
#include "search/PageTextCache.h"

// The Windows path of the sheet a page at page links by href (UTF-8, as the page writes it),
// resolved as the browser resolves it: from the page's folder, or from its drive's root for an
// href beginning with "/" or "\"; "\" counts as "/", ".." stops at the drive's root, "?query"
// and "#anchor" drop out, percent escapes are decoded. Empty for an href with a scheme or a
// drive, a network path, control characters, or a page without a drive.
std::string SheetPath(std::string_view page, std::string_view href);

class TPageScan {
public:
    TPageScan();
    ~TPageScan();
    bool Contains(const std::string& file, const std::string& word, bool matchCase);
    // The pages [from, from + count) of pages (fewer at the end); empty entries are skipped.
    void Prepare(const TDynamicStringArray& pages, size_t from, size_t count);
    // The page's text, extracted on first use.
    const TPageText& Text(const std::string& file);
    size_t CachedPages() const { return texts_.Size(); }

private:
    class TSheets;  // the sheets one page links
    // The sheet at a path (lower-cased), read and parsed on first use; null when it is absent.
    const TStyleSheet* LoadSheet(const std::string& key);

    TPageTextCache texts_;                                                  // by lower-cased path
    std::unordered_map<std::string, std::unique_ptr<TStyleSheet>> sheets_;  // by lower-cased path
    std::unique_ptr<TTextMatcher> matcher_;
    std::string word_;
    bool matchCase_ = false;
};
