// The 24-bit pixel buffer: its DIB layout and the blend arithmetic.
#include "effects/FastBMP.h"

#include "effects/EffectsTestUtil.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(FastBMP, RowsArePaddedBottomUpAndRoundTrip) {
    EXPECT_EQ(TFastBMP::RowSizeFor(1), 4);
    EXPECT_EQ(TFastBMP::RowSizeFor(4), 12);
    EXPECT_EQ(TFastBMP::RowSizeFor(5), 16);
    EXPECT_EQ(TFastBMP::RowSizeFor(800), 2400);

    QImage picture(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.setPixel(x, y, qRgb(10 * x, 100 + y, 200 + x + y));
    TFastBMP bmp;
    bmp.LoadFrom(picture);
    ASSERT_EQ(bmp.Width(), 5);
    ASSERT_EQ(bmp.Height(), 3);
    EXPECT_EQ(bmp.RowSize(), 16);
    // The top line is the last stored row; pixels are blue, green, red.
    EXPECT_EQ(bmp.Row(0) - bmp.Row(2), 2 * 16);
    EXPECT_EQ(bmp.Row(0)[3 * 4 + 0], 204);
    EXPECT_EQ(bmp.Row(0)[3 * 4 + 1], 100);
    EXPECT_EQ(bmp.Row(0)[3 * 4 + 2], 40);

    EXPECT_EQ(bmp.ToImage().convertToFormat(QImage::Format_RGB32), picture);
    TFastBMP copy;
    copy.CopyFrom(bmp);
    EXPECT_EQ(copy.ToImage(), bmp.ToImage());

    QImage canvas = Solid(Qt::black, 8, 6);
    {
        QPainter painter(&canvas);
        bmp.Draw(painter, QPoint(2, 1));
    }
    EXPECT_EQ(canvas.pixel(2 + 4, 1 + 2), picture.pixel(4, 2));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0));

    TFastBMP none;
    none.LoadFrom(QImage());
    EXPECT_TRUE(none.Empty());
    EXPECT_TRUE(none.ToImage().isNull());
}

TEST(FastBMP, BlendSkipsTheRowPadding) {
    TFastBMP background, image, frame;
    background.SetSize(5, 2);
    image.SetSize(5, 2);
    frame.SetSize(5, 2);
    for (int y = 0; y < 2; ++y) {
        for (int i = 0; i < 16; ++i) {
            background.Row(y)[i] = 0;
            image.Row(y)[i] = 255;
        }
        frame.Row(y)[15] = 0xAB;
    }
    ASSERT_TRUE(frame.Blend(background, image, 128));
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(frame.Row(y)[14], 127);
        EXPECT_EQ(frame.Row(y)[15], 0xAB);
    }
}

TEST(FastBMP, BlendShiftsArithmeticallyAndLevel255IsOneStepShortOnlyUpwards) {
    struct Case {
        int background, image, level, expected;
    };
    const Case cases[] = {
        {10, 200, 255, 199},  // 10 + ⌊255 × 190 / 256⌋: one short of the image
        {200, 10, 255, 10},   // 200 + ⌊−48450 / 256⌋ = 200 − 190: falling bytes arrive
        {200, 10, 5, 196},    // ⌊−950 / 256⌋ = −4, not −3
        {0, 255, 5, 4},
        {0, 255, 0, 0},
        {77, 77, 255, 77},
        {0, 255, 300, 254},   // levels are clamped to 0…255
        {255, 0, -3, 255},
    };
    for (const Case& c : cases) {
        TFastBMP background, image, frame;
        background.LoadFrom(Solid(QColor(c.background, c.background, c.background), 3, 2));
        image.LoadFrom(Solid(QColor(c.image, c.image, c.image), 3, 2));
        ASSERT_TRUE(frame.Blend(background, image, c.level));
        EXPECT_EQ(frame.Row(1)[7], c.expected) << c.background << " -> " << c.image << " at " << c.level;
    }
}

TEST(FastBMP, BlendMatchesTheFormulaForEveryPairOfBytes) {
    // 257 pixels: 771 row bytes, so each row has whole 16-byte blocks and a short tail.
    TFastBMP background, image, frame;
    background.SetSize(257, 256);
    image.SetSize(257, 256);
    for (int y = 0; y < 256; ++y)
        for (int i = 0; i < 771; ++i) {
            background.Row(y)[i] = static_cast<uint8_t>(y);
            image.Row(y)[i] = static_cast<uint8_t>(i);
        }
    for (int level : {1, 5, 127, 128, 200, 254, 255}) {
        ASSERT_TRUE(frame.Blend(background, image, level));
        int wrong = 0;
        for (int y = 0; y < 256; ++y)
            for (int i = 0; i < 771; ++i) {
                const int from = y;
                const int to = i % 256;
                const int expected = (from + ((level * (to - from)) >> 8)) & 0xFF;
                if (frame.Row(y)[i] != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "level " << level;
    }
}

TEST(FastBMP, BlendOfMismatchedSourcesDoesNothing) {
    TFastBMP background, image, frame;
    background.SetSize(4, 4);
    image.SetSize(4, 5);
    EXPECT_FALSE(frame.Blend(background, image, 100));
    EXPECT_TRUE(frame.Empty());
}

}  // namespace
