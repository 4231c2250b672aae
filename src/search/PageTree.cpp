#include "search/PageTree.h"

#include <gumbo.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/Cp1251.h"
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
// space between words, never at a block's edge; a break ends the current block.
class TBlockWriter {
public:
    void Break() { open_ = space_ = false; }
    void Space() { space_ = open_; }
    void Char(char32_t c) {
        if (!open_) {
            if (!out_.empty()) out_.push_back(kPageTextBreak);
            open_ = true;
        } else if (space_) {
            out_.push_back(u' ');
        }
        space_ = false;
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

// display:none in the style attribute, in any spelling of case and white space.
bool StyleHides(std::string_view style) {
    std::string compact;
    for (const char c : style)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') compact += char(Cp1251::lowerByte(c));
    return compact.find("display:none") != std::string::npos;
}

bool HiddenByDefault(const GumboElement& element) {
    if (HasAttribute(element, "hidden") || StyleHides(AttributeValue(element, "style"))) return true;
    return element.tag == GUMBO_TAG_INPUT && Cp1251::asciiEqualsNoCase(AttributeValue(element, "type"), "hidden");
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

TRole RoleOf(const GumboElement& element) {
    return HiddenByDefault(element) ? TRole::Skip : RoleOfTag(element.tag);
}

// Input types whose value shows as text: text fields and push buttons.
bool ShowsValue(std::string_view type) {
    for (const char* shown : {"", "text", "search", "email", "url", "tel", "number", "submit", "reset", "button"})
        if (Cp1251::asciiEqualsNoCase(type, shown)) return true;
    return false;
}

} // namespace

namespace {

// Walks the parsed tree in document order, without recursion (pages may nest deeply), writing
// the text of every shown node.
class TTextLayout {
public:
    explicit TTextLayout(TBlockWriter& writer) : writer_(writer) {}
    void Run(const GumboNode& root);

private:
    struct RFrame {
        const GumboNode* node;
        unsigned next;
        TRole role;
    };
    bool Open(const GumboNode& node, TRole& role);
    void Close(TRole role);
    void Field(const GumboElement& input);

    TBlockWriter& writer_;
    int preserve_ = 0;  // depth of elements that keep white space
};

// Writes a node that has no children to visit; for an element whose children are to be
// visited, opens it and returns true with its role.
bool TTextLayout::Open(const GumboNode& node, TRole& role) {
    switch (node.type) {
    case GUMBO_NODE_TEXT: case GUMBO_NODE_WHITESPACE: case GUMBO_NODE_CDATA:
        writer_.Text(node.v.text.text, preserve_ > 0);
        return false;
    case GUMBO_NODE_ELEMENT: break;
    default: return false;  // comments, template contents, the document node
    }
    role = RoleOf(node.v.element);
    switch (role) {
    case TRole::Skip: return false;
    case TRole::Separator: writer_.Char(kObjectReplacement); return false;
    case TRole::LineBreak: writer_.Break(); return false;
    case TRole::Field: Field(node.v.element); return false;
    case TRole::Preserve: ++preserve_; writer_.Break(); return true;
    case TRole::Block: writer_.Break(); return true;
    case TRole::Inline: return true;
    }
    return false;
}

void TTextLayout::Close(TRole role) {
    if (role == TRole::Preserve) --preserve_;
    if (role == TRole::Preserve || role == TRole::Block) writer_.Break();
}

void TTextLayout::Field(const GumboElement& input) {
    if (!ShowsValue(AttributeValue(input, "type"))) {
        writer_.Space();
        return;
    }
    writer_.Break();
    writer_.Text(AttributeValue(input, "value"), true);
    writer_.Break();
}

void TTextLayout::Run(const GumboNode& root) {
    TRole role = TRole::Inline;
    if (!Open(root, role)) return;
    std::vector<RFrame> stack{{&root, 0, role}};
    while (!stack.empty()) {
        RFrame& top = stack.back();
        const GumboVector& children = top.node->v.element.children;
        if (top.next >= children.length) {
            Close(top.role);
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[top.next++]);
        TRole childRole = TRole::Inline;
        if (Open(*child, childRole)) stack.push_back({child, 0, childRole});
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

std::u16string VisibleText(std::string_view utf8) {
    TArena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &TArena::Allocate;
    options.deallocator = &TArena::Free;
    options.userdata = &arena;
    options.max_errors = 0;  // parse errors are not wanted; recording them costs time
    // The arena frees the whole tree; gumbo_destroy_output would only walk it.
    const GumboOutput* output = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    if (!output || !output->root || IsFrameset(*output->root)) return {};
    TBlockWriter writer;
    TTextLayout(writer).Run(*output->root);
    return writer.Take();
}
