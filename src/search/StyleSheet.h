#pragma once
// A style sheet as the page text needs it: only the declarations that decide whether text shows
// and where its blocks end (display, visibility, float and position), under selectors made of a
// type, classes and an id, joined by descendant and child combinators. A selector with anything
// else (attributes, pseudo-classes and pseudo-elements, sibling combinators, namespaces, escapes,
// unknown element names) is left out, and so are the rules of @media blocks for anything but
// the screen, so that no rule applies where the browser might not apply it. Values the browser
// would reject are dropped as it drops them. Qt-free; a parsed sheet is immutable and may be
// read from many threads.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum TStyleProperty : uint8_t { kDisplay, kVisibility, kFloat, kPosition };
constexpr size_t kStyleProperties = 4;

// The keyword values kept, per property.
enum TDisplayValue : int8_t {
    kDisplayNone,
    kDisplayInline,
    kDisplayBlock,      // block-level or an atomic inline (inline-block, inline-table): a block of text
    kDisplayContainer,  // flex or grid, inline or not: a block whose children are blocks too
    kDisplayContents,   // no box of its own: its content flows with its parent's
    kDisplayInherit,
    kDisplayDefault,  // revert: what the element shows as without author styles
};
enum TVisibilityValue : int8_t { kVisible, kInvisible, kVisibilityInherit };
enum TFloatValue : int8_t { kNotFloating, kFloating };
enum TPositionValue : int8_t { kInFlow, kOutOfFlow };

// The properties one declaration block sets; the last declaration of a property wins, an
// !important one over any plain one.
struct RDeclarations {
    std::array<int8_t, kStyleProperties> value{-1, -1, -1, -1};  // -1: not set
    std::array<bool, kStyleProperties> important{};
    bool Empty() const { return value == std::array<int8_t, kStyleProperties>{-1, -1, -1, -1}; }
};

// The declarations of a block ("display: none; color: red"), or of a style attribute.
RDeclarations ParseDeclarations(std::string_view block);

// Whether a media list ("screen, print") covers the screen the book is read on: empty, "all"
// and "screen" do; a query with conditions is not counted on.
bool MediaOnScreen(std::string_view media);

// One part of a selector: what an element must be.
struct RCompound {
    int tag = -1;  // a GumboTag; -1 for any element
    std::string id;
    std::vector<std::string> classes;
    bool child = false;  // joined to the part on its left by ">", else by white space
};

struct RStyleRule {
    std::vector<RCompound> compounds;  // left to right; the last one is the element's own
    uint32_t specificity = 0;          // ids << 16 | classes << 8 | types
    uint32_t order = 0;                // place in the sheet
    RDeclarations declarations;
};

class TStyleSheet {
public:
    TStyleSheet() = default;
    // Parses CSS text given as UTF-8.
    explicit TStyleSheet(std::string_view utf8);
    // A sheet file of the book: UTF-8 with a byte-order mark or an @charset "utf-8" rule, else
    // windows-1251, the books' code page.
    static TStyleSheet FromFile(std::string_view bytes);

    bool Empty() const { return rules_.empty(); }
    const std::vector<RStyleRule>& Rules() const { return rules_; }
    // The rules whose last part names this id, class or tag, or any element; with noCase, ids
    // and classes compare without ASCII case (pass them lower-cased), as in quirks mode.
    const std::vector<uint32_t>* WithId(const std::string& id, bool noCase) const;
    const std::vector<uint32_t>* WithClass(const std::string& name, bool noCase) const;
    const std::vector<uint32_t>* WithTag(int tag) const;
    const std::vector<uint32_t>& ForAny() const { return any_; }

private:
    void Parse(std::string_view css, int depth);
    void AddRule(std::string_view selectors, const RDeclarations& declarations);
    void Index(uint32_t rule);

    using TBuckets = std::unordered_map<std::string, std::vector<uint32_t>>;
    std::vector<RStyleRule> rules_;
    TBuckets byId_, byClass_, byIdNoCase_, byClassNoCase_;
    std::unordered_map<int, std::vector<uint32_t>> byTag_;
    std::vector<uint32_t> any_;
};
