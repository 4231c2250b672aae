#include "search/PageText.h"

#include <algorithm>
#include <bit>

#include "base/Cp1251.h"
#include "search/PageCharset.h"
#include "search/PageTree.h"
#include "search/SearchText.h"

namespace {

// Signature size: about four bits per collation weight, between 64 and 16384 bits, so that a
// typical page sets a small share of its bits and a short word rules most pages out.
constexpr size_t kMinSignatureBits = 64;
constexpr size_t kMaxSignatureBits = 16384;

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += char(u);
    } else if (u < 0x800) {
        out += char(0xC0 | (u >> 6));
        out += char(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += char(0xE0 | (u >> 12));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    } else {
        out += char(0xF0 | (u >> 18));
        out += char(0x80 | ((u >> 12) & 0x3F));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    }
}

} // namespace

TPageText::TPageText(std::u16string joined, std::string titleCp1251)
    : joined_(std::move(joined)), title_(std::move(titleCp1251)) {
    joined_.shrink_to_fit();
    if (joined_.empty()) return;
    starts_.push_back(0);
    for (size_t i = 0; i < joined_.size(); ++i)
        if (joined_[i] == kPageTextBreak) starts_.push_back(uint32_t(i + 1));
    const std::vector<uint32_t> weights = SearchText::PrimaryWeights(joined_);
    const size_t bits = std::clamp(std::bit_ceil(weights.size() * 4), kMinSignatureBits, kMaxSignatureBits);
    signature_.assign(bits / 64, 0);
    const auto set = [this, bits](uint32_t key) {
        const size_t bit = key & (bits - 1);
        signature_[bit / 64] |= uint64_t(1) << (bit % 64);
    };
    for (size_t i = 0; i < weights.size(); ++i) {
        set(SearchText::WeightKey(weights[i], 0));
        if (i + 1 < weights.size()) set(SearchText::WeightKey(weights[i], weights[i + 1]));
    }
}

std::u16string_view TPageText::Block(size_t index) const {
    if (index >= starts_.size()) return {};
    const size_t start = starts_[index];
    const size_t end = index + 1 < starts_.size() ? starts_[index + 1] - 1 : joined_.size();
    return std::u16string_view(joined_).substr(start, end - start);
}

std::string TPageText::BlockUtf8(size_t index) const {
    const std::u16string_view block = Block(index);
    std::string out;
    for (size_t i = 0; i < block.size(); ++i) {
        char32_t u = block[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < block.size() && block[i + 1] >= 0xDC00 && block[i + 1] < 0xE000)
            u = 0x10000 + ((u - 0xD800) << 10) + (block[++i] - 0xDC00);
        AppendUtf8(out, u);
    }
    return out;
}

bool TPageText::MayContain(const std::vector<uint32_t>& primaryWeights) const {
    if (signature_.empty() || primaryWeights.empty()) return !joined_.empty();
    const size_t bits = signature_.size() * 64;
    const auto has = [this, bits](uint32_t key) {
        const size_t bit = key & (bits - 1);
        return (signature_[bit / 64] >> (bit % 64)) & 1;
    };
    if (primaryWeights.size() == 1) return has(SearchText::WeightKey(primaryWeights[0], 0));
    for (size_t i = 0; i + 1 < primaryWeights.size(); ++i)
        if (!has(SearchText::WeightKey(primaryWeights[i], primaryWeights[i + 1]))) return false;
    return true;
}

size_t TPageText::MemoryBytes() const {
    return joined_.capacity() * sizeof(char16_t) + title_.capacity() + starts_.capacity() * sizeof(uint32_t) +
           signature_.capacity() * sizeof(uint64_t);
}

TPageText ExtractPageText(std::string_view html, IPageSheets* sheets) {
    const std::string utf8 = PageToUtf8(html, DetectPageCharset(html));
    RVisibleText visible = VisibleText(utf8, sheets);
    return TPageText(std::move(visible.text), Cp1251::fromUtf8(visible.title));
}
