#pragma once
// TFastBMP: a 24-bit pixel buffer laid out like a Windows DIB section, so the fades can work on
// raw bytes. Rows are stored bottom-up, 3 bytes per pixel (blue, green, red), each row padded to a
// multiple of 4 bytes; a table holds the start of every row. Window thread only.
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

class QPainter;

class TFastBMP {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Bytes per stored row: ((width × 24 + 31) / 32) × 4. The last width mod 4 of them are padding.
    int RowSize() const { return rowSize_; }
    static int RowSizeFor(int width) { return (width * 24 + 31) / 32 * 4; }

    // Line y of the picture, counted from the top (it lies at stored row height − 1 − y).
    uint8_t* Row(int y) { return rows_[static_cast<size_t>(y)]; }
    const uint8_t* Row(int y) const { return rows_[static_cast<size_t>(y)]; }

    // Re-allocates only when the size changes; the contents are then zero. Negative sizes are 0.
    void SetSize(int width, int height);
    void Free() { SetSize(0, 0); }

    // Takes the picture's size and pixels (alpha is dropped). A null picture leaves the buffer empty.
    void LoadFrom(const QImage& picture);
    // Raw copy of all rows; the buffer takes the other's size first.
    void CopyFrom(const TFastBMP& other);

    // Draws the buffer 1 : 1 with its top-left corner at `at`.
    void Draw(QPainter& painter, QPoint at) const;
    QImage ToImage() const;

    // This buffer := background + ((level × (image − background)) >> 8) per colour byte, with an
    // arithmetic shift; row padding is left alone. Level is clamped to 0…255. Both sources must have
    // the same size, which this buffer takes; otherwise nothing happens and false is returned.
    bool Blend(const TFastBMP& background, const TFastBMP& image, int level);

private:
    int width_ = 0;
    int height_ = 0;
    int rowSize_ = 0;
    std::vector<uint8_t> bits_;
    std::vector<uint8_t*> rows_;
};
