#pragma once
// The cascade of a page's style sheets over its parsed tree, internal to the search library: for
// an element, the declared display, visibility, float and position that win, by !important, then
// the style attribute over the sheets, then specificity, then the order of the sheets in the page
// and of the rules in a sheet. In quirks mode ids and classes compare without ASCII case, as the
// browser compares them there. Sheets are borrowed, the page's own <style> sheets owned.
#include <gumbo.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/StyleSheet.h"

class IPageSheets;

// The declared value of each property (a TDisplayValue, TVisibilityValue ...); -1 for none.
using TDeclared = std::array<int8_t, kStyleProperties>;

class TPageStyle {
public:
    // The sheets of the <style> and <link rel="stylesheet"> elements of sheetElements, in their
    // order; linked sheets come from sheets (none without it) and only those for the screen count.
    TPageStyle(const std::vector<const GumboNode*>& sheetElements, IPageSheets* sheets, bool quirks);
    TPageStyle(const TPageStyle&) = delete;
    TPageStyle& operator=(const TPageStyle&) = delete;

    // True when no sheet of the page sets any of the properties.
    bool Empty() const { return sheets_.empty(); }
    TDeclared Cascade(const GumboNode& element) const;

private:
    struct RWinner {
        uint64_t key = 0;
        int8_t value = -1;
    };
    void AddSheet(const TStyleSheet* sheet);
    void Apply(const std::vector<uint32_t>* rules, size_t sheet, const GumboNode& node,
               std::array<RWinner, kStyleProperties>& winners) const;
    bool Matches(const RStyleRule& rule, const GumboNode& node) const;
    bool ChainAt(const RStyleRule& rule, size_t first, size_t last, const GumboNode& node, const GumboNode*& top) const;
    bool CompoundMatches(const RCompound& compound, const GumboNode& node) const;
    bool SameName(std::string_view a, std::string_view b) const;
    // Whether a white-space separated list (a class attribute) holds the word.
    bool HasWord(std::string_view words, std::string_view word) const;

    std::vector<const TStyleSheet*> sheets_;           // in the page's order, empty ones left out
    std::vector<std::unique_ptr<TStyleSheet>> owned_;  // the page's <style> sheets
    bool quirks_;
};
