#include "search/PageTree.h"

#include <gumbo.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/Cp1251.h"
#include "search/PageStyle.h"
#include "search/PageText.h"
#include "search/SearchText.h"

namespace {

// Bump allocator for one parse: the tree is dropped all at once with the arena, which spares
// gumbo's node-by-node frees.
class TArena {
public:
    ~TArena() {
        for (void* block : blocks_) std::free(block);
    }
    void* Allocate(size_t size) {
        size = (size + 15) & ~size_t(15);
        if (size > kBlock / 4) return Keep(std::malloc(size));
        if (used_ + size > kBlock) {
            current_ = static_cast<char*>(Keep(std::malloc(kBlock)));
            used_ = 0;
        }
        void* p = current_ + used_;
        used_ += size;
        return p;
    }
    static void* Allocate(void* arena, size_t size) { return static_cast<TArena*>(arena)->Allocate(size); }
    static void Free(void*, void*) {}

private:
    static constexpr size_t kBlock = 64 * 1024;
    // The parser has no way to report a failed allocation, and an exception cannot pass through it.
    void* Keep(void* block) {
        if (!block) std::abort();
        blocks_.push_back(block);
        return block;
    }
    std::vector<void*> blocks_;
    char* current_ = nullptr;
    size_t used_ = kBlock;
};

// Lays text out the way a browser's inline layout does: collapsible white space becomes one
// space between words, never at a block's edge; a break ends the current block. An object
// without text (a check box) stands as nothing, but white space on either side of it stays.
class TBlockWriter {
public:
    void Break() { open_ = space_ = held_ = false; }
    void Space() { space_ = open_ || held_; }
    void Object() {
        if (open_ && space_) out_.push_back(u' ');
        held_ = !open_;
        space_ = false;
    }
    void Char(char32_t c) {
        if (!open_) {
            if (!out_.empty()) out_.push_back(kPageTextBreak);
            open_ = true;
        }
        if (space_) out_.push_back(u' ');
        space_ = held_ = false;
        if (c >= 0x10000) {
            out_.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out_.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out_.push_back(char16_t(c));
        }
    }
    void Text(std::string_view utf8, bool preserve);
    std::u16string Take() { return std::move(out_); }

private:
    std::u16string out_;
    bool open_ = false;   // the current block has text
    bool space_ = false;  // a space is due before the next character
    bool held_ = false;   // the current block has an object but no text yet
};

// Decodes one UTF-8 sequence at text[i], advancing i; malformed input gives U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t u = lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        u = (u << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return u > 0x10FFFF || (u >= 0xD800 && u < 0xE000) ? 0xFFFD : u;
}

void TBlockWriter::Text(std::string_view utf8, bool preserve) {
    for (size_t i = 0; i < utf8.size();) {
        const char32_t raw = NextCodePoint(utf8, i);
        if (preserve && (raw == '\n' || raw == '\r')) {
            Break();
        } else if (!preserve && (raw == ' ' || raw == '\t' || raw == '\n' || raw == '\r' || raw == '\f')) {
            Space();
        } else if (const char32_t c = SearchText::Fold(raw)) {
            Char(c);
        }
    }
}

// What a picture or other embedded content stands as in the text: a character of its own, so
// that no match runs across it, as in the browser's find.
constexpr char32_t kObjectReplacement = 0xFFFC;

// How an element takes part in the text.
enum class TRole {
    Inline,     // its content flows with the text around it
    Block,      // its content is a block of its own
    Preserve,   // a block whose white space is kept, its lines separate
    LineBreak,  // <br>
    Separator,  // embedded content with no searchable text, a character no word holds
    Field,      // <input>: its value is a block of its own
    Skip,       // not shown, or shown without searchable text
};

std::string_view AttributeValue(const GumboElement& element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
    return attribute ? std::string_view(attribute->value) : std::string_view();
}

bool HasAttribute(const GumboElement& element, const char* name) {
    return gumbo_get_attribute(&element.attributes, name) != nullptr;
}

TRole RoleOfTag(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_HEAD: case GUMBO_TAG_TITLE: case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_SELECT: case GUMBO_TAG_OPTION: case GUMBO_TAG_OPTGROUP:
    case GUMBO_TAG_DATALIST: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_FRAMESET:
    case GUMBO_TAG_FRAME: case GUMBO_TAG_DESC: case GUMBO_TAG_RP: case GUMBO_TAG_BASE: case GUMBO_TAG_LINK:
    case GUMBO_TAG_META: case GUMBO_TAG_PARAM: case GUMBO_TAG_SOURCE: case GUMBO_TAG_TRACK:
        return TRole::Skip;
    case GUMBO_TAG_IMG: case GUMBO_TAG_IMAGE: case GUMBO_TAG_IFRAME: case GUMBO_TAG_EMBED: case GUMBO_TAG_VIDEO:
    case GUMBO_TAG_AUDIO: case GUMBO_TAG_CANVAS: case GUMBO_TAG_KEYGEN: case GUMBO_TAG_METER: case GUMBO_TAG_PROGRESS:
        return TRole::Separator;
    case GUMBO_TAG_PRE: case GUMBO_TAG_LISTING: case GUMBO_TAG_XMP: case GUMBO_TAG_PLAINTEXT: case GUMBO_TAG_TEXTAREA:
        return TRole::Preserve;
    case GUMBO_TAG_BR: return TRole::LineBreak;
    case GUMBO_TAG_INPUT: return TRole::Field;
    case GUMBO_TAG_HTML: case GUMBO_TAG_BODY: case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_CENTER: case GUMBO_TAG_DD: case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_SUMMARY: case GUMBO_TAG_DIR: case GUMBO_TAG_DIV: case GUMBO_TAG_DL: case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET: case GUMBO_TAG_LEGEND: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER: case GUMBO_TAG_FORM: case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3:
    case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6: case GUMBO_TAG_HEADER: case GUMBO_TAG_HGROUP:
    case GUMBO_TAG_HR: case GUMBO_TAG_LI: case GUMBO_TAG_MAIN: case GUMBO_TAG_MENU: case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL: case GUMBO_TAG_UL: case GUMBO_TAG_P: case GUMBO_TAG_SECTION: case GUMBO_TAG_TABLE:
    case GUMBO_TAG_CAPTION: case GUMBO_TAG_THEAD: case GUMBO_TAG_TBODY: case GUMBO_TAG_TFOOT: case GUMBO_TAG_TR:
    case GUMBO_TAG_TD: case GUMBO_TAG_TH: case GUMBO_TAG_COLGROUP: case GUMBO_TAG_COL: case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_MARQUEE: case GUMBO_TAG_MULTICOL:
        return TRole::Block;
    default: return TRole::Inline;
    }
}

// Input types whose value shows as text: text fields and push buttons.
bool ShowsValue(std::string_view type) {
    for (const char* shown : {"", "text", "search", "email", "url", "tel", "number", "submit", "reset", "button"})
        if (Cp1251::asciiEqualsNoCase(type, shown)) return true;
    return false;
}

} // namespace


namespace {

// What an element's style makes of it, as its children inherit it.
struct RShown {
    int8_t display = kDisplayBlock;  // resolved: never inherit or default
    bool invisible = false;          // visibility hidden or collapse
    bool container = false;          // flex or grid: its children are blocks
};

// What the text needs before it is laid out: the sheet elements in document order and the
// first title of the page. Template contents take no part.
struct RHead {
    std::vector<const GumboNode*> sheets;
    const GumboNode* title = nullptr;
};

RHead ReadHead(const GumboNode& root) {
    RHead head;
    std::vector<std::pair<const GumboNode*, unsigned>> stack{{&root, 0}};
    while (!stack.empty()) {
        const GumboVector& children = stack.back().first->v.element.children;
        if (stack.back().second >= children.length) {
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[stack.back().second++]);
        if (child->type != GUMBO_NODE_ELEMENT) continue;
        const GumboElement& element = child->v.element;
        if (element.tag == GUMBO_TAG_STYLE || element.tag == GUMBO_TAG_LINK) head.sheets.push_back(child);
        else if (element.tag == GUMBO_TAG_TITLE && element.tag_namespace == GUMBO_NAMESPACE_HTML && !head.title)
            head.title = child;
        else stack.emplace_back(child, 0);
    }
    return head;
}

// The title's text as the browser gives it: ASCII white space stripped and collapsed.
std::string TitleText(const GumboNode* title) {
    std::string out;
    if (!title) return out;
    bool space = false;
    const GumboVector& children = title->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type != GUMBO_NODE_TEXT && child->type != GUMBO_NODE_WHITESPACE) continue;
        for (const char c : std::string_view(child->v.text.text)) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                space = !out.empty();
                continue;
            }
            if (space) out += ' ';
            space = false;
            out += c;
        }
    }
    return out;
}

// Walks the parsed tree in document order, without recursion (pages may nest deeply), writing
// the text of every shown node.
class TTextLayout {
public:
    TTextLayout(TBlockWriter& writer, const TPageStyle& style) : writer_(writer), style_(style) {}
    void Run(const GumboNode& root);

private:
    struct RFrame {
        const GumboNode* node = nullptr;
        unsigned next = 0;
        TRole role = TRole::Inline;
        bool block = false;  // a block of text of its own
        RShown shown;
    };
    bool Open(const GumboNode& node, const RShown& parent, RFrame& frame);
    void Close(const RFrame& frame);
    RShown Shown(const GumboNode& node, TRole role, const RShown& parent, bool& block) const;
    void Field(const GumboElement& input, bool invisible, bool block);

    TBlockWriter& writer_;
    const TPageStyle& style_;
    int preserve_ = 0;  // depth of elements that keep white space
};

// Writes a node that has no children to visit; for an element whose children are to be
// visited, opens it and returns true with its frame.
bool TTextLayout::Open(const GumboNode& node, const RShown& parent, RFrame& frame) {
    switch (node.type) {
    case GUMBO_NODE_TEXT: case GUMBO_NODE_WHITESPACE: case GUMBO_NODE_CDATA:
        if (!parent.invisible) writer_.Text(node.v.text.text, preserve_ > 0);
        return false;
    case GUMBO_NODE_ELEMENT: break;
    default: return false;  // comments, template contents, the document node
    }
    const GumboElement& element = node.v.element;
    const TRole role = RoleOfTag(element.tag);
    if (role == TRole::Skip) return false;
    if (element.tag == GUMBO_TAG_INPUT && Cp1251::asciiEqualsNoCase(AttributeValue(element, "type"), "hidden"))
        return false;
    bool block = false;
    const RShown shown = Shown(node, role, parent, block);
    if (shown.display == kDisplayNone) return false;
    if (block || role == TRole::LineBreak) writer_.Break();
    switch (role) {
    case TRole::Separator: writer_.Char(kObjectReplacement); break;
    case TRole::Field: Field(element, shown.invisible, block); break;
    case TRole::Preserve: ++preserve_; [[fallthrough]];
    case TRole::Inline: case TRole::Block: frame = {&node, 0, role, block, shown}; return true;
    default: break;
    }
    if (block) writer_.Break();
    return false;
}

void TTextLayout::Close(const RFrame& frame) {
    if (frame.role == TRole::Preserve) --preserve_;
    if (frame.block) writer_.Break();
}

// The element's display and visibility from the cascade; block is set for an element that is a
// block of text of its own, by its display or as a flex item, a float or out of flow.
RShown TTextLayout::Shown(const GumboNode& node, TRole role, const RShown& parent, bool& block) const {
    const GumboElement& element = node.v.element;
    TDeclared declared{-1, -1, -1, -1};
    if (!style_.Empty() || HasAttribute(element, "style")) declared = style_.Cascade(node);
    RShown shown;
    int8_t display = declared[kDisplay] == kDisplayInherit ? parent.display : declared[kDisplay];
    if (display < 0 || display == kDisplayDefault) {
        const bool blockTag = role == TRole::Block || role == TRole::Preserve;
        display = HasAttribute(element, "hidden") ? kDisplayNone : blockTag ? kDisplayBlock : kDisplayInline;
    }
    shown.display = display;
    const int8_t visibility = declared[kVisibility];
    shown.invisible = visibility == kInvisible || ((visibility < 0 || visibility == kVisibilityInherit) && parent.invisible);
    shown.container = display == kDisplayContainer;
    const bool outOfFlow = declared[kFloat] == kFloating || declared[kPosition] == kOutOfFlow;
    block = display == kDisplayBlock || display == kDisplayContainer ||
            (display != kDisplayContents && (parent.container || outOfFlow));
    return shown;
}

void TTextLayout::Field(const GumboElement& input, bool invisible, bool block) {
    if (!ShowsValue(AttributeValue(input, "type"))) {
        if (!block) writer_.Object();
        return;
    }
    writer_.Break();
    if (!invisible) writer_.Text(AttributeValue(input, "value"), true);
    writer_.Break();
}

void TTextLayout::Run(const GumboNode& root) {
    RFrame frame;
    if (!Open(root, RShown(), frame)) return;
    std::vector<RFrame> stack{frame};
    while (!stack.empty()) {
        RFrame& top = stack.back();
        const GumboVector& children = top.node->v.element.children;
        if (top.next >= children.length) {
            Close(top);
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[top.next++]);
        if (Open(*child, top.shown, frame)) stack.push_back(frame);
    }
}

// A frameset page shows only its frames, which are pages of their own.
bool IsFrameset(const GumboNode& root) {
    if (root.type != GUMBO_NODE_ELEMENT) return false;
    const GumboVector& children = root.v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_FRAMESET) return true;
    }
    return false;
}

} // namespace

RVisibleText VisibleText(std::string_view utf8, IPageSheets* sheets) {
    TArena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &TArena::Allocate;
    options.deallocator = &TArena::Free;
    options.userdata = &arena;
    options.max_errors = 0;  // parse errors are not wanted; recording them costs time
    // The arena frees the whole tree; gumbo_destroy_output would only walk it.
    const GumboOutput* output = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    if (!output || !output->root || output->root->type != GUMBO_NODE_ELEMENT) return {};
    const RHead head = ReadHead(*output->root);
    RVisibleText visible{{}, TitleText(head.title)};
    if (IsFrameset(*output->root)) return visible;
    const bool quirks = output->document->v.document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    const TPageStyle style(head.sheets, sheets, quirks);
    TBlockWriter writer;
    TTextLayout(writer, style).Run(*output->root);
    visible.text = writer.Take();
    return visible;
}
