#include "search/PageTextCache.h"

namespace {

size_t EntryBytes(const std::string& path, const TPageText& text) {
    return path.capacity() + text.MemoryBytes() + sizeof(TPageText) + 4 * sizeof(void*);
}

} // namespace

const TPageText* TPageTextCache::Find(std::string_view path) const {
    const auto it = texts_.find(path);
    return it == texts_.end() ? nullptr : &it->second;
}

const TPageText& TPageTextCache::Store(const std::string& path, TPageText text) {
    const size_t added = EntryBytes(path, text);
    auto it = texts_.find(path);
    if (it != texts_.end()) {
        bytes_ -= EntryBytes(it->first, it->second);
        texts_.erase(it);
    }
    if (bytes_ + added > budget_) Clear();
    bytes_ += added;
    return texts_.emplace(path, std::move(text)).first->second;
}

void TPageTextCache::Clear() {
    texts_.clear();
    bytes_ = 0;
}
