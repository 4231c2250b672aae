#include "html/print/PrintGeometry.h"

#include <algorithm>
#include <array>

namespace PrintGeometry {

RPaperMetrics Turned(const RPaperMetrics& paper) {
    const QMarginsF& m = paper.unprintable;
    // Turning the sheet a quarter to the left: the right edge goes to the top.
    return RPaperMetrics{paper.page.transposed(), QMarginsF(m.top(), m.right(), m.bottom(), m.left()), !paper.landscape};
}

QSizeF PrintableScreenPixels(const RPaperMetrics& paper, double scale) {
    const QMarginsF& m = paper.unprintable;
    const double width = paper.page.width() - m.left() - m.right() - 2 * kMarginInches;
    const double height = paper.page.height() - m.top() - m.bottom() - 2 * kMarginInches;
    return QSizeF(std::max(0.0, width), std::max(0.0, height)) * (kScreenPixelsPerInch / scale);
}

RPictureFit FitPicture(const RPaperMetrics& paper, int width, int height) {
    RPictureFit fit{1.0, paper.landscape};
    if (width <= 0 || height <= 0) return fit;
    // Wider than tall wants the long side of the sheet across.
    const bool wantLandscape = width > height;
    const RPaperMetrics final = wantLandscape == paper.landscape ? paper : Turned(paper);
    const QSizeF printable = PrintableScreenPixels(final, 1.0);
    fit.landscape = final.landscape;
    // Fitted to its long side, and to the other side too where the sheet's shape asks for it,
    // so a picture never runs onto a second sheet.
    fit.scale = std::min({1.0, printable.width() / width, printable.height() / height});
    return fit;
}

double ZoomForItem(int item, QSize client, double pixelsPerInch, QSizeF pageInches, double lastZoom) {
    static constexpr std::array<double, 9> kFixed = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
    if (pageInches.isEmpty() || pixelsPerInch <= 0) return 1.0;
    const double byWidth = (client.width() - 20) / pixelsPerInch / pageInches.width();
    const double byHeight = (client.height() - 20) / pixelsPerInch / pageInches.height();
    if (item == kWholePage) return std::min(byHeight, byWidth);
    if (item == kPageWidth) return byWidth;
    if (item == kManual) return lastZoom;
    const int fixed = item - kManual - 1;
    return fixed >= 0 && fixed < int(kFixed.size()) ? kFixed[size_t(fixed)] : 1.0;
}

double ZoomIn(double zoom) { return std::min(kMaxZoom, zoom * kZoomStep); }
double ZoomOut(double zoom) { return std::max(kMinZoom, zoom / kZoomStep); }
double PrintScaleUp(double scale) { return scale < kMaxPrintScale ? scale * kPrintScaleStep : scale; }
double PrintScaleDown(double scale) { return scale > kMinPrintScale ? scale / kPrintScaleStep : scale; }

int GoToIndex(int typed, int count) { return std::clamp(typed, 1, std::max(1, count)) - 1; }

}  // namespace PrintGeometry
