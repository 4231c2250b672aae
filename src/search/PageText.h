#pragma once
// The searchable text of one page, as a browser's find-in-page sees it, without a browser.
//
// ExtractPageText decodes the page (PageCharset.h: a byte-order mark, else the meta charset
// within the first 4096 bytes, else windows-1251), parses it as HTML5 with libgumbo and keeps
// the text a browser shows: blocks of text in document order, white space collapsed as CSS does
// it (kept inside pre, textarea, listing, xmp and plaintext, whose lines are blocks of their
// own), curly quotes folded to straight ones, soft hyphens dropped. Block elements, table
// cells, form fields and <br> end a block; no match crosses from one block to the next. <img>
// and other embedded content stand as U+FFFC, a character no word holds; a check box or radio
// button stands as nothing, the white space on either side of it kept. Text a browser does not
// show is left out: head, title, script, style, noscript, template, select and its options,
// comments, alt texts, and elements hidden by default (the hidden attribute, input type=hidden).
// A frameset page has no text of its own. Any bytes are accepted; broken HTML gives whatever the
// HTML5 parser makes of it.
//
// The page's style sheets decide as well, as far as the text needs them (StyleSheet.h): its
// <style> elements and, through IPageSheets, the sheets it links, with the style attributes;
// display:none leaves an element out (an author's display brings back one the hidden attribute
// hides), visibility:hidden its own text (a descendant may be visible again), and an element
// shown as a block, an inline-block, a table part, a flex or grid item, a float or positioned
// out of flow is a block of its own, while a block element shown inline is not.
//
// The page's title is kept beside its text, as the browser gives it: the first <title>, white
// space stripped and collapsed, in CP1251.
//
// TTextMatcher and PageContains answer whether a page text contains a word the way the
// browser's find-in-page answers it: ICU's string search with a Russian collator over the
// page's blocks. Case-insensitive is primary strength: case and diacritics are ignored, so е
// and ё are equal, but й is a letter of its own and differs from и. Case-sensitive is tertiary
// strength: case and diacritics count, so ё differs from е (and from Ё). The word comes as
// CP1251 bytes and is folded like the page (curly quotes to straight ones, soft hyphens
// dropped); a no-break space equals a space without case, as the collator weighs them. A word
// that is empty, or has nothing the collator weighs at the strength (only soft hyphens or
// control characters, say), matches nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The separator between blocks (a noncharacter no page text holds: folding turns it into U+FFFD).
constexpr char16_t kPageTextBreak = 0xFFFF;

class TPageText {
public:
    TPageText() = default;
    // Takes the page's blocks, each pair separated by one kPageTextBreak, none empty, and builds
    // the signature that lets a matcher rule the page out without searching it.
    explicit TPageText(std::u16string joined, std::string titleCp1251 = {});

    size_t BlockCount() const { return starts_.size(); }
    std::u16string_view Block(size_t index) const;
    std::string BlockUtf8(size_t index) const;
    // All blocks, separated by kPageTextBreak.
    const std::u16string& Joined() const { return joined_; }
    // The page's title (CP1251); empty when it has none.
    const std::string& Title() const { return title_; }

    // False when the page certainly holds no run of these primary collation weights (the
    // matcher's word); true when it may.
    bool MayContain(const std::vector<uint32_t>& primaryWeights) const;
    // Heap bytes held, for a cache's budget.
    size_t MemoryBytes() const;

private:
    std::u16string joined_;
    std::string title_;
    std::vector<uint32_t> starts_;     // offset of each block in joined_
    std::vector<uint64_t> signature_;  // bit set of hashed single and neighbouring primary weights
};

class TStyleSheet;

// Where the sheets a page links come from: the caller knows the page's place in the book.
class IPageSheets {
public:
    virtual ~IPageSheets() = default;
    // The sheet a <link rel="stylesheet"> names by its href, as the page writes it (UTF-8);
    // null when the page reaches no sheet there. The sheet must outlive the extraction.
    virtual const TStyleSheet* LinkedSheet(std::string_view href) = 0;
};

// The page's text; without sheets, linked sheets count as absent.
TPageText ExtractPageText(std::string_view html, IPageSheets* sheets = nullptr);

struct UStringSearch;

// One word to find, built once per search: holds the word's collation weights and one ICU
// searcher reused for every page. Pages whose signature lacks the word's weights are ruled out
// without searching. Not thread-safe, also through const: one matcher serves one thread.
class TTextMatcher {
public:
    TTextMatcher(std::string_view wordCp1251, bool caseSensitive);
    ~TTextMatcher();
    TTextMatcher(const TTextMatcher&) = delete;
    TTextMatcher& operator=(const TTextMatcher&) = delete;

    bool Matches(const TPageText& text) const;
    // True for a word that can match nothing (see above).
    bool MatchesNothing() const { return search_ == nullptr; }

private:
    std::u16string word_;
    std::vector<uint32_t> weights_;  // the word's primary weights, for the page signatures
    UStringSearch* search_ = nullptr;
};

// Whether the page's text holds the word; for single questions (a scan keeps one TTextMatcher).
bool PageContains(const TPageText& text, std::string_view wordCp1251, bool caseSensitive);
