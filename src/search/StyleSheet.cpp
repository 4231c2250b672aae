#include "search/StyleSheet.h"

#include <gumbo.h>

#include <algorithm>
#include <optional>

#include "base/Cp1251.h"

namespace {

// @media blocks nest no deeper than this; deeper ones are left out.
constexpr int kMaxMediaDepth = 8;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The text without its /* comments */; strings stay as they are.
std::string WithoutComments(std::string_view css) {
    std::string out;
    out.reserve(css.size());
    char quote = 0;
    for (size_t i = 0; i < css.size(); ++i) {
        const char c = css[i];
        if (quote) {
            out += c;
            if (c == '\\' && i + 1 < css.size()) out += css[++i];
            else if (c == quote) quote = 0;
        } else if (c == '/' && i + 1 < css.size() && css[i + 1] == '*') {
            const size_t end = css.find("*/", i + 2);
            if (end == std::string_view::npos) break;
            i = end + 1;
        } else {
            if (c == '"' || c == '\'') quote = c;
            out += c;
        }
    }
    return out;
}

// Where the first of stops lies outside strings, parentheses and brackets, from at on; npos
// when there is none. A '{' is always found, however it nests.
size_t FindTopLevel(std::string_view text, size_t at, std::string_view stops) {
    int depth = 0;
    for (size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\') ++i;
        } else if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if ((depth == 0 || c == '{') && stops.find(c) != std::string_view::npos) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The '}' that closes the block opened at open, or the end of the text for a block left open.
size_t BlockEnd(std::string_view text, size_t open) {
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\') ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i;
        }
    }
    return text.size();
}

int8_t DisplayOf(std::string_view v) {
    const auto in = [v](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), v) != names.end();
    };
    if (v == "none") return kDisplayNone;
    if (in({"inline", "ruby", "ruby-text", "initial", "unset"})) return kDisplayInline;
    if (v == "contents") return kDisplayContents;
    if (v == "inherit") return kDisplayInherit;
    if (v == "revert" || v == "revert-layer") return kDisplayDefault;
    if (in({"flex", "inline-flex", "grid", "inline-grid", "-webkit-box", "-webkit-inline-box"})) return kDisplayContainer;
    if (in({"block", "inline-block", "list-item", "flow-root", "table", "inline-table", "table-row-group", "table-header-group",
            "table-footer-group", "table-row", "table-cell", "table-column-group", "table-column", "table-caption", "math"}))
        return kDisplayBlock;
    return -1;
}

int8_t ValueOf(TStyleProperty property, std::string_view v) {
    switch (property) {
    case kDisplay: return DisplayOf(v);
    case kVisibility:
        if (v == "visible" || v == "initial") return kVisible;
        if (v == "hidden" || v == "collapse") return kInvisible;
        if (v == "inherit" || v == "unset" || v == "revert" || v == "revert-layer") return kVisibilityInherit;
        return -1;
    case kFloat:
        if (v == "none" || v == "initial" || v == "unset" || v == "revert") return kNotFloating;
        if (v == "left" || v == "right" || v == "inline-start" || v == "inline-end") return kFloating;
        return -1;
    case kPosition:
        if (v == "static" || v == "relative" || v == "sticky" || v == "initial" || v == "unset" || v == "revert") return kInFlow;
        if (v == "absolute" || v == "fixed") return kOutOfFlow;
        return -1;
    }
    return -1;
}

std::optional<TStyleProperty> PropertyOf(std::string_view name) {
    if (name == "display") return kDisplay;
    if (name == "visibility") return kVisibility;
    if (name == "float") return kFloat;
    if (name == "position") return kPosition;
    return std::nullopt;
}

// One "name: value [!important]" into the block's declarations.
void AddDeclaration(std::string_view text, RDeclarations& out) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return;
    const auto property = PropertyOf(Cp1251::asciiLower(Trim(text.substr(0, colon))));
    if (!property) return;
    std::string value = Cp1251::asciiLower(Trim(text.substr(colon + 1)));
    bool important = false;
    if (const size_t bang = value.rfind('!'); bang != std::string::npos) {
        if (Trim(std::string_view(value).substr(bang + 1)) != "important") return;
        important = true;
        value = std::string(Trim(std::string_view(value).substr(0, bang)));
    }
    const int8_t parsed = ValueOf(*property, value);
    if (parsed < 0 || (out.important[*property] && !important)) return;
    out.value[*property] = parsed;
    out.important[*property] = important;
}

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-' || u >= 0x80;
}

// An identifier at text[i] (advancing i); empty for none. It may not start with a digit or "-digit".
std::string_view NameAt(std::string_view text, size_t& i) {
    const size_t start = i;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    const std::string_view name = text.substr(start, i - start);
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!name.empty() && (digit(name[0]) || (name[0] == '-' && name.size() > 1 && digit(name[1])))) {
        i = start;
        return {};
    }
    return name;
}

// One compound at text[i]: a type or "*", then classes and an id. False for anything else.
bool CompoundAt(std::string_view text, size_t& i, RCompound& out, uint32_t& specificity) {
    const size_t start = i;
    if (i < text.size() && text[i] == '*') {
        ++i;
    } else if (const std::string_view type = NameAt(text, i); !type.empty()) {
        const GumboTag tag = gumbo_tag_enum(Cp1251::asciiLower(type).c_str());
        if (tag == GUMBO_TAG_UNKNOWN) return false;
        out.tag = int(tag);
        specificity += 1;
    }
    while (i < text.size() && (text[i] == '.' || text[i] == '#')) {
        const bool id = text[i++] == '#';
        const std::string_view name = NameAt(text, i);
        if (name.empty() || (id && !out.id.empty() && out.id != name)) return false;
        if (id) out.id = std::string(name);
        else out.classes.emplace_back(name);
        specificity += id ? 1 << 16 : 1 << 8;
    }
    return i > start;
}

// A selector of compounds joined by white space or ">"; nothing for one the text cannot follow.
std::optional<RStyleRule> SelectorOf(std::string_view text) {
    text = Trim(text);
    RStyleRule rule;
    bool child = false;
    for (size_t i = 0; i < text.size();) {
        RCompound compound;
        compound.child = child;
        if (!CompoundAt(text, i, compound, rule.specificity)) return std::nullopt;
        rule.compounds.push_back(std::move(compound));
        const size_t end = i;
        while (i < text.size() && IsSpace(text[i])) ++i;
        if (i == text.size()) break;
        child = text[i] == '>';
        if (!child && i == end) return std::nullopt;  // ':', '[', '+', '~' and the like
        if (child)
            for (++i; i < text.size() && IsSpace(text[i]);) ++i;
        if (i == text.size()) return std::nullopt;
    }
    if (rule.compounds.empty()) return std::nullopt;
    return rule;
}

}  // namespace

RDeclarations ParseDeclarations(std::string_view block) {
    RDeclarations out;
    for (size_t at = 0; at <= block.size();) {
        size_t end = FindTopLevel(block, at, ";");
        if (end == std::string_view::npos) end = block.size();
        AddDeclaration(block.substr(at, end - at), out);
        at = end + 1;
    }
    return out;
}

bool MediaOnScreen(std::string_view media) {
    if (Trim(media).empty()) return true;
    for (size_t at = 0; at <= media.size();) {
        size_t end = media.find(',', at);
        if (end == std::string_view::npos) end = media.size();
        std::string query;
        for (const char c : Trim(media.substr(at, end - at)))
            if (!IsSpace(c) || (!query.empty() && query.back() != ' ')) query += IsSpace(c) ? ' ' : char(Cp1251::lowerByte(c));
        if (query == "all" || query == "screen" || query == "only screen" || query == "only all") return true;
        at = end + 1;
    }
    return false;
}

TStyleSheet::TStyleSheet(std::string_view utf8) { Parse(WithoutComments(utf8), 0); }

TStyleSheet TStyleSheet::FromFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return TStyleSheet(bytes.substr(3));
    if (bytes.starts_with("@charset \"")) {
        const std::string label = Cp1251::asciiLower(bytes.substr(10, bytes.find('"', 10) - 10));
        if (label == "utf-8" || label == "utf8") return TStyleSheet(bytes);
    }
    return TStyleSheet(Cp1251::toUtf8(bytes));
}

void TStyleSheet::Parse(std::string_view css, int depth) {
    for (size_t i = 0; i < css.size();) {
        while (i < css.size() && IsSpace(css[i])) ++i;
        if (css.substr(i, 4) == "<!--" || css.substr(i, 3) == "-->") {
            i += css[i] == '<' ? 4 : 3;
            continue;
        }
        if (i >= css.size()) break;
        const size_t open = FindTopLevel(css, i, css[i] == '@' ? "{;" : "{");
        if (open == std::string_view::npos) break;
        if (css[open] == ';') {  // @import, @charset, @namespace: nothing the text needs
            i = open + 1;
            continue;
        }
        const size_t close = BlockEnd(css, open);
        const std::string_view prelude = css.substr(i, open - i);
        const std::string_view body = css.substr(open + 1, close - open - 1);
        if (css[i] != '@') {
            if (const RDeclarations declarations = ParseDeclarations(body); !declarations.Empty()) AddRule(prelude, declarations);
        } else if (Cp1251::asciiLower(prelude.substr(0, 6)) == "@media" && prelude.size() > 6 && IsSpace(prelude[6]) &&
                   depth < kMaxMediaDepth && MediaOnScreen(prelude.substr(6))) {
            Parse(body, depth + 1);
        }
        i = close + 1;
    }
}

// Each selector of a list stands alone: one the text cannot follow is left out, the others stay.
void TStyleSheet::AddRule(std::string_view selectors, const RDeclarations& declarations) {
    for (size_t at = 0; at <= selectors.size();) {
        size_t end = FindTopLevel(selectors, at, ",");
        if (end == std::string_view::npos) end = selectors.size();
        if (std::optional<RStyleRule> rule = SelectorOf(selectors.substr(at, end - at))) {
            rule->order = uint32_t(rules_.size());
            rule->declarations = declarations;
            rules_.push_back(std::move(*rule));
            Index(uint32_t(rules_.size() - 1));
        }
        at = end + 1;
    }
}

void TStyleSheet::Index(uint32_t rule) {
    const RCompound& last = rules_[rule].compounds.back();
    if (!last.id.empty()) {
        byId_[last.id].push_back(rule);
        byIdNoCase_[Cp1251::asciiLower(last.id)].push_back(rule);
    } else if (!last.classes.empty()) {
        byClass_[last.classes[0]].push_back(rule);
        byClassNoCase_[Cp1251::asciiLower(last.classes[0])].push_back(rule);
    } else if (last.tag >= 0) {
        byTag_[last.tag].push_back(rule);
    } else {
        any_.push_back(rule);
    }
}

const std::vector<uint32_t>* TStyleSheet::WithId(const std::string& id, bool noCase) const {
    const TBuckets& buckets = noCase ? byIdNoCase_ : byId_;
    const auto it = buckets.find(id);
    return it == buckets.end() ? nullptr : &it->second;
}

const std::vector<uint32_t>* TStyleSheet::WithClass(const std::string& name, bool noCase) const {
    const TBuckets& buckets = noCase ? byClassNoCase_ : byClass_;
    const auto it = buckets.find(name);
    return it == buckets.end() ? nullptr : &it->second;
}

const std::vector<uint32_t>* TStyleSheet::WithTag(int tag) const {
    const auto it = byTag_.find(tag);
    return it == byTag_.end() ? nullptr : &it->second;
}
