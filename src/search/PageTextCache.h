#pragma once
// Texts of pages already extracted during the run, keyed by page path, so that a second search
// through the same book parses nothing again. Paths are compared exactly, so callers pass each
// page in one spelling. The stored texts are held up to a byte budget: a text that would pass it
// empties the cache first. References returned stay valid until the next Clear, or a Store or
// Add that empties the cache or replaces that path. One thread only.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "search/PageText.h"

class TPageTextCache {
public:
    static constexpr size_t kDefaultBudget = size_t(256) << 20;
    explicit TPageTextCache(size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

    // The stored text of the page at path, or nullptr.
    const TPageText* Find(std::string_view path) const;
    // Stores text for path, replacing an earlier one, and returns the stored text.
    const TPageText& Store(const std::string& path, TPageText text);
    // Extracts the page's text from its bytes and stores it.
    const TPageText& Add(const std::string& path, std::string_view html) { return Store(path, ExtractPageText(html)); }

    void Clear();
    size_t Size() const { return texts_.size(); }
    size_t Bytes() const { return bytes_; }

private:
    struct RHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    std::unordered_map<std::string, TPageText, RHash, std::equal_to<>> texts_;
    size_t budget_;
    size_t bytes_ = 0;
};
