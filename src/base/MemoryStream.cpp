#include "base/MemoryStream.h"

#include <cstring>

void TMemoryStream::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    std::unique_ptr<uint8_t[]> grown(new uint8_t[capacity]);
    if (size_) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
}

void TMemoryStream::SetSize(size_t size) {
    Reserve(size);
    size_ = size;
    if (position_ > size_) position_ = size_;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    const size_t n = count < size_ - position_ ? count : size_ - position_;
    if (n) std::memcpy(buffer, data_.get() + position_, n);
    position_ += n;
    return n;
}

bool TMemoryStream::ReadByte(uint8_t& byte) {
    if (position_ >= size_) return false;
    byte = data_[position_++];
    return true;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
    if (!count) return;
    const size_t end = position_ + count;
    if (end > capacity_) Reserve(end > 2 * capacity_ ? end : 2 * capacity_);
    if (end > size_) size_ = end;
    std::memcpy(data_.get() + position_, buffer, count);
    position_ += count;
}

void TMemoryStream::Assign(const void* buffer, size_t count) {
    SetSize(count);
    if (count) std::memcpy(data_.get(), buffer, count);
    position_ = 0;
}
