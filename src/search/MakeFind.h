#pragma once
// TMakeFind: the keyword index the manual ships. "keywords.idx" lists one keyword per line,
// "index.idx" the page numbers of keyword k on line k (decimal numbers separated by ":"), and
// "files.idx" page m on line m as file + "#:#" + title. FindKeyword answers which pages are listed
// for exactly this word. The files are read through the pack with the disc as fallback, line by
// line as the book's text files are (a line ends at CR, LF is skipped), untrimmed.
//
// Messages go to the handler given; a page number that is not decimal is skipped.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "base/MemoryStream.h"

// The readers of the three files, over their bytes from the current position on.
// The number of the first line of keywords equal to word (from 1), 0 when none is.
int FindKeywordLine(TMemoryStream& keywords, const std::string& word, bool caseSensitive);
// The page numbers on line k of index; false when it has fewer lines. Pieces that are not
// decimal numbers are left out.
bool ReadPageNumbers(TMemoryStream& index, int k, std::vector<int>& pages);
// Appends file and title of every line of files whose number is among pages, in file order.
void AddListedPages(TMemoryStream& files, const std::vector<int>& pages, TDynamicStringArray& names,
                    TDynamicStringArray& titles);

// The titles "files.idx" gives the pages a scan found. A line's file is a path relative to the
// index folder (or one with a drive); a line naming a bare file also titles a page of that name in
// any folder. The first line naming a page counts; titles are trimmed. Paths compare in any case.
class TPageTitles {
public:
    void Read(TMemoryStream& files, const std::string& folder);
    std::optional<std::string> TitleOf(const std::string& path) const;

private:
    std::map<std::string, std::string> byPath_, byName_;
};

class TMakeFind {
public:
    using TMessage = std::function<void(const std::string& text)>;

    // message: shows a warning (CP1251); may be empty.
    explicit TMakeFind(TMessage message = {}) : message_(std::move(message)) {}

    // One trailing "\" is removed.
    void SetIndexFolder(const std::string& folder);
    const std::string& IndexFolder() const { return folder_; }
    // The three index files all exist, in the pack or on disk.
    bool IndexFilesExist() const;
    // Appends every page listed for word to files and titles, in "files.idx" order, each once; true
    // when a page was added. The word must equal a keyword in length and, with caseSensitive off,
    // in CP1251 letters of either case; the first matching keyword counts.
    bool FindKeyword(const std::string& word, TDynamicStringArray& files, TDynamicStringArray& titles,
                     bool caseSensitive);

private:
    std::string Path(const char* name) const { return folder_ + "\\" + name; }

    TMessage message_;
    std::string folder_;
};
