#pragma once
// A growable in-memory byte stream with a position, the container that file contents are read
// into (pack entries, bundle pictures). The buffer is not zero-filled when it grows, so filling
// it costs only the copy or the inflation that produces the bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class TMemoryStream {
public:
    TMemoryStream() = default;
    TMemoryStream(TMemoryStream&&) noexcept = default;
    TMemoryStream& operator=(TMemoryStream&&) noexcept = default;
    virtual ~TMemoryStream() = default;

    size_t Size() const { return size_; }
    size_t Position() const { return position_; }
    const uint8_t* Data() const { return data_.get(); }
    uint8_t* Data() { return data_.get(); }
    std::string_view View() const { return {reinterpret_cast<const char*>(data_.get()), size_}; }

    // Resizes the content; new bytes are unspecified. The position is clamped to the new size.
    void SetSize(size_t size);
    // Moves the position; a position past the end is clamped to the end.
    void Seek(size_t position) { position_ = position < size_ ? position : size_; }
    // Copies up to count bytes from the position on; returns the number copied.
    size_t Read(void* buffer, size_t count);
    // Reads one byte; false at the end.
    bool ReadByte(uint8_t& byte);
    // Writes at the position, growing the content as needed.
    void Write(const void* buffer, size_t count);
    // Replaces the content with the given bytes, positioned at 0.
    void Assign(const void* buffer, size_t count);

private:
    void Reserve(size_t capacity);

    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t position_ = 0;
};
