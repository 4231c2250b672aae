#include "search/PageStyle.h"

#include <algorithm>

#include "base/Cp1251.h"
#include "search/PageText.h"

namespace {

// Rules of one sheet are ordered within 20 bits of the cascade key, sheets above them.
constexpr uint32_t kMaxRuleOrder = (1u << 20) - 1;
constexpr uint64_t kImportant = uint64_t(1) << 63;
constexpr uint64_t kStyleAttribute = uint64_t(1) << 62;
// Ancestors looked at for a descendant combinator: a selector that would need an ancestor
// further up counts as not matching, so that a page nested absurdly deep costs no more than a
// bounded walk per element and rule.
constexpr int kMaxAncestors = 256;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Attribute(const GumboElement& element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
    return attribute ? std::string_view(attribute->value) : std::string_view();
}

// The white-space separated words of an attribute such as class or rel.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsSpace(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !IsSpace(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool IsElement(const GumboNode* node) { return node && (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE); }

bool IsCss(std::string_view type) {
    while (!type.empty() && IsSpace(type.back())) type.remove_suffix(1);
    while (!type.empty() && IsSpace(type.front())) type.remove_prefix(1);
    return type.empty() || Cp1251::asciiEqualsNoCase(type, "text/css");
}

// A <link> whose rel names a style sheet the browser applies (an alternate one it does not).
bool LinksSheet(const GumboElement& link) {
    bool sheet = false;
    for (const std::string_view word : Words(Attribute(link, "rel"))) {
        if (Cp1251::asciiEqualsNoCase(word, "alternate")) return false;
        sheet |= Cp1251::asciiEqualsNoCase(word, "stylesheet");
    }
    return sheet && !Attribute(link, "href").empty();
}

std::string TextOf(const GumboElement& style) {
    std::string text;
    for (unsigned i = 0; i < style.children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(style.children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE || child->type == GUMBO_NODE_CDATA)
            text += child->v.text.text;
    }
    return text;
}

}  // namespace

TPageStyle::TPageStyle(const std::vector<const GumboNode*>& sheetElements, IPageSheets* sheets, bool quirks) : quirks_(quirks) {
    for (const GumboNode* node : sheetElements) {
        const GumboElement& element = node->v.element;
        if (!IsCss(Attribute(element, "type")) || !MediaOnScreen(Attribute(element, "media"))) continue;
        if (element.tag == GUMBO_TAG_STYLE) {
            auto sheet = std::make_unique<TStyleSheet>(TextOf(element));
            AddSheet(sheet.get());
            if (!sheet->Empty()) owned_.push_back(std::move(sheet));
        } else if (element.tag == GUMBO_TAG_LINK && sheets && LinksSheet(element)) {
            AddSheet(sheets->LinkedSheet(Attribute(element, "href")));
        }
    }
}

void TPageStyle::AddSheet(const TStyleSheet* sheet) {
    if (sheet && !sheet->Empty() && sheets_.size() < (1u << 12)) sheets_.push_back(sheet);
}

TDeclared TPageStyle::Cascade(const GumboNode& node) const {
    const GumboElement& element = node.v.element;
    std::array<RWinner, kStyleProperties> winners;
    if (!sheets_.empty()) {
        const auto key = [this](std::string_view name) { return quirks_ ? Cp1251::asciiLower(name) : std::string(name); };
        const std::string_view id = Attribute(element, "id");
        const std::vector<std::string_view> classes = Words(Attribute(element, "class"));
        for (size_t s = 0; s < sheets_.size(); ++s) {
            const TStyleSheet& sheet = *sheets_[s];
            if (!id.empty()) Apply(sheet.WithId(key(id), quirks_), s, node, winners);
            for (const std::string_view name : classes) Apply(sheet.WithClass(key(name), quirks_), s, node, winners);
            Apply(sheet.WithTag(int(element.tag)), s, node, winners);
            Apply(&sheet.ForAny(), s, node, winners);
        }
    }
    TDeclared declared{-1, -1, -1, -1};
    const GumboAttribute* style = gumbo_get_attribute(&element.attributes, "style");
    const RDeclarations own = style ? ParseDeclarations(style->value) : RDeclarations();
    for (size_t p = 0; p < kStyleProperties; ++p) {
        const uint64_t ownKey = kStyleAttribute | (own.important[p] ? kImportant : 0);
        declared[p] = own.value[p] >= 0 && (winners[p].value < 0 || ownKey > winners[p].key) ? own.value[p] : winners[p].value;
    }
    return declared;
}

void TPageStyle::Apply(const std::vector<uint32_t>* rules, size_t sheet, const GumboNode& node,
                       std::array<RWinner, kStyleProperties>& winners) const {
    if (!rules) return;
    for (const uint32_t index : *rules) {
        const RStyleRule& rule = sheets_[sheet]->Rules()[index];
        if (!Matches(rule, node)) continue;
        const uint64_t base =
            uint64_t(rule.specificity & 0xFFFFFF) << 32 | uint64_t(sheet) << 20 | std::min(rule.order, kMaxRuleOrder);
        for (size_t p = 0; p < kStyleProperties; ++p) {
            if (rule.declarations.value[p] < 0) continue;
            const uint64_t key = base | (rule.declarations.important[p] ? kImportant : 0);
            if (winners[p].value < 0 || key > winners[p].key) winners[p] = {key, rule.declarations.value[p]};
        }
    }
}

// Compounds joined by ">" form a chain of parents; chains are joined by white space, so each
// chain is matched at the nearest ancestor above the last one's top, which is enough: a chain
// matched further up leaves fewer ancestors for the chains on its left.
bool TPageStyle::Matches(const RStyleRule& rule, const GumboNode& node) const {
    const auto chainStart = [&rule](size_t last) {
        while (last > 0 && rule.compounds[last].child) --last;
        return last;
    };
    size_t first = chainStart(rule.compounds.size() - 1);
    const GumboNode* top = nullptr;
    if (!ChainAt(rule, first, rule.compounds.size() - 1, node, top)) return false;
    while (first > 0) {
        const size_t last = first - 1;
        first = chainStart(last);
        const GumboNode* above = top->parent;
        for (int climbed = 0; IsElement(above) && !ChainAt(rule, first, last, *above, top); ++climbed)
            above = climbed < kMaxAncestors ? above->parent : nullptr;
        if (!IsElement(above)) return false;
    }
    return true;
}

bool TPageStyle::ChainAt(const RStyleRule& rule, size_t first, size_t last, const GumboNode& node, const GumboNode*& top) const {
    const GumboNode* at = &node;
    for (size_t k = last + 1; k-- > first;) {
        if (!IsElement(at) || !CompoundMatches(rule.compounds[k], *at)) return false;
        if (k > first) at = at->parent;
    }
    top = at;
    return true;
}

bool TPageStyle::CompoundMatches(const RCompound& compound, const GumboNode& node) const {
    const GumboElement& element = node.v.element;
    if (compound.tag >= 0 && int(element.tag) != compound.tag) return false;
    if (!compound.id.empty() && !SameName(Attribute(element, "id"), compound.id)) return false;
    if (compound.classes.empty()) return true;
    const std::string_view classes = Attribute(element, "class");
    return std::all_of(compound.classes.begin(), compound.classes.end(),
                       [&](const std::string& name) { return HasWord(classes, name); });
}

bool TPageStyle::HasWord(std::string_view words, std::string_view word) const {
    for (size_t i = 0; i < words.size();) {
        while (i < words.size() && IsSpace(words[i])) ++i;
        const size_t start = i;
        while (i < words.size() && !IsSpace(words[i])) ++i;
        if (i > start && SameName(words.substr(start, i - start), word)) return true;
    }
    return false;
}

bool TPageStyle::SameName(std::string_view a, std::string_view b) const {
    return quirks_ ? Cp1251::asciiEqualsNoCase(a, b) : a == b;
}
