// The preview's numbers: fitting a picture to the paper, the zoom and print-scale steps and the
// go-to page.
#include <gtest/gtest.h>

#include "html/print/PrintGeometry.h"

using namespace PrintGeometry;

namespace {

// A4 with a quarter inch it cannot print on each side.
RPaperMetrics A4(bool landscape) {
    RPaperMetrics paper{QSizeF(8.27, 11.69), QMarginsF(0.25, 0.25, 0.25, 0.25), false};
    return landscape ? Turned(paper) : paper;
}

}  // namespace

TEST(PictureFit, TheSheetTurnsToThePictureAndThePictureFitsInsideTheMargins) {
    // Wide on portrait turns landscape; tall on landscape turns portrait.
    const RPictureFit wide = FitPicture(A4(false), 2000, 800);
    EXPECT_TRUE(wide.landscape);
    const RPictureFit tall = FitPicture(A4(true), 800, 2000);
    EXPECT_FALSE(tall.landscape);
    // The fitted picture fills the printable width (11.69 − 0.5 − 2 × 0.7874 in at 96 px/in).
    EXPECT_NEAR(wide.scale * 2000, (11.69 - 0.5 - 2 * kMarginInches) * 96, 0.5);
    // Nearly square but wider than the landscape sheet's printable area: fits its height too,
    // so it stays on one sheet.
    const RPictureFit squarish = FitPicture(A4(false), 1100, 1000);
    EXPECT_LE(squarish.scale * 1000, PrintableScreenPixels(Turned(A4(false)), 1.0).height() + 0.5);
    // A small picture is never enlarged.
    EXPECT_DOUBLE_EQ(FitPicture(A4(false), 100, 50).scale, 1.0);
}

// Sizes that never came (−1) or are zero fit nothing: the scale stays 1 and positive, the
// sheet as it is.
TEST(PictureFit, UnknownSizesLeaveScaleAndSheetAlone) {
    for (auto [w, h] : {std::pair{-1, -1}, {0, 500}, {500, -1}}) {
        const RPictureFit fit = FitPicture(A4(true), w, h);
        EXPECT_DOUBLE_EQ(fit.scale, 1.0);
        EXPECT_TRUE(fit.landscape);
    }
}

TEST(PreviewZoom, ViewZoomStopsAtTwentyAndATenthAndPrintScaleStepsWhileInsideItsBounds) {
    double zoom = 1.0;
    for (int i = 0; i < 40; ++i) zoom = ZoomIn(zoom);
    EXPECT_DOUBLE_EQ(zoom, 20.0);
    for (int i = 0; i < 80; ++i) zoom = ZoomOut(zoom);
    EXPECT_DOUBLE_EQ(zoom, 0.1);
    // The print scale steps by 1.1 while below 3 (so it may pass 3 once) and above 0.05.
    EXPECT_NEAR(PrintScaleUp(2.9), 3.19, 1e-9);
    EXPECT_DOUBLE_EQ(PrintScaleUp(3.19), 3.19);
    EXPECT_DOUBLE_EQ(PrintScaleDown(0.05), 0.05);
    EXPECT_NEAR(PrintScaleDown(0.051), 0.051 / 1.1, 1e-12);
}

TEST(PreviewZoom, ZoomBoxItemsFitThePageOrTakeTheirPercentages) {
    const QSize box(820, 1120);  // 800 × 1100 usable at 100 px/in
    const QSizeF page(8, 10);
    EXPECT_DOUBLE_EQ(ZoomForItem(kWholePage, box, 100, page, 3.0), 1.0);  // width 800/8 vs height 1100/10
    EXPECT_DOUBLE_EQ(ZoomForItem(kPageWidth, box, 100, page, 3.0), 1.0);
    EXPECT_DOUBLE_EQ(ZoomForItem(kManual, box, 100, page, 3.0), 3.0);
    EXPECT_DOUBLE_EQ(ZoomForItem(3, box, 100, page, 3.0), 0.25);
    EXPECT_DOUBLE_EQ(ZoomForItem(11, box, 100, page, 3.0), 4.0);
    EXPECT_DOUBLE_EQ(ZoomForItem(12, box, 100, page, 3.0), 1.0);
    EXPECT_DOUBLE_EQ(ZoomForItem(kWholePage, QSize(820, 520), 100, page, 3.0), 0.5);
}
