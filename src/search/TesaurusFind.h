#pragma once
// TMakeTesaurusFind: the thesaurus index "tezaurus.idx", a line per term: term, "~", page (a file
// relative to the program folder, perhaps with a "#" anchor). The first line's page is the
// thesaurus start page. FindTerm finds the page of the first line whose term occurs in the word
// (letters of either case), so a word stem finds every form of the word.
#include <functional>
#include <string>

#include "base/MemoryStream.h"

// The lookup over the index's bytes: true and the trimmed page of the first matching line.
bool FindThesaurusPage(TMemoryStream& index, const std::string& word, std::string& page);

class TMakeTesaurusFind {
public:
    using TMessage = std::function<void(const std::string& text)>;

    explicit TMakeTesaurusFind(TMessage message = {}) : message_(std::move(message)) {}

    // One trailing "\" is removed.
    void SetThesaurusFolder(const std::string& folder);
    // An empty word gives the first line's page. Otherwise a line matches when its trimmed term,
    // lower-cased, occurs in the lower-cased word and the term's first character before trimming
    // is the word's character where that occurrence starts (a term written with leading blanks
    // never matches). An empty term matches nothing. False, without a message, when the index
    // does not exist; with a message when it cannot be read.
    bool FindTerm(const std::string& word, std::string& page) const;

private:
    TMessage message_;
    std::string folder_;
};
