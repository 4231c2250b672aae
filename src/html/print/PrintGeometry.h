#pragma once
// The numbers of the print preview: paper metrics, fitting a picture to the paper, the view
// zoom of the zoom box's items and of the mouse, the print scale steps and the page a go-to
// asks for. Pure functions, so the rules are tested without a printer or a window.
#include <QMarginsF>
#include <QSize>
#include <QSizeF>

// The paper as the printer has it now, in inches: its whole size and the edges it cannot print.
struct RPaperMetrics {
    QSizeF page;
    QMarginsF unprintable;
    bool landscape = false;
};

namespace PrintGeometry {

inline constexpr double kMarginInches = 0.7874;  // 2 cm on each side of the printed area
inline constexpr double kScreenPixelsPerInch = 96.0;
inline constexpr double kMinZoom = 0.1, kMaxZoom = 20.0, kZoomStep = 1.25;
inline constexpr double kMinPrintScale = 0.05, kMaxPrintScale = 3.0, kPrintScaleStep = 1.1;

// The same paper turned the other way.
RPaperMetrics Turned(const RPaperMetrics& paper);
// Screen pixels of the area a page's content fills at a print scale: the page less its
// unprintable edges and the 2 cm margins.
QSizeF PrintableScreenPixels(const RPaperMetrics& paper, double scale);

// The print scale that fits a picture of width × height screen pixels on the paper, and the
// orientation it needs: a wider-than-tall picture goes landscape, a taller one portrait. The
// scale fits both sides and is never above 1. Only for a picture with both sides positive.
struct RPictureFit {
    double scale = 1.0;
    bool landscape = false;
};
RPictureFit FitPicture(const RPaperMetrics& paper, int width, int height);

// The zoom box's items: page, width, manual, then the fixed percentages.
enum EZoomItem { kWholePage = 0, kPageWidth = 1, kManual = 2 };
// The view zoom of a zoom box item, for a scroll box of client pixels at pixelsPerInch showing a
// page of pageInches; the manual item keeps lastZoom.
double ZoomForItem(int item, QSize client, double pixelsPerInch, QSizeF pageInches, double lastZoom);

// A mouse press with the view zoom tool: ×1.25 up to 20, ÷1.25 down to 0.1.
double ZoomIn(double zoom);
double ZoomOut(double zoom);
// A mouse press with the print zoom tool: ×1.1 while below 3, ÷1.1 while above 0.05.
double PrintScaleUp(double scale);
double PrintScaleDown(double scale);

// The page a go-to asks for (1-based as typed), clamped to 1 … count, as a 0-based index.
int GoToIndex(int typed, int count);

}  // namespace PrintGeometry
