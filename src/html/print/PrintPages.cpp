#include "html/print/PrintPages.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QTemporaryFile>

namespace {

constexpr int kPrintRasterDpi = 300;  // pages go to the printer as pictures of this resolution

}  // namespace

TPrintPages::TPrintPages() = default;
TPrintPages::~TPrintPages() = default;

void TPrintPages::SetPaper(const QPageLayout& printerLayout, int dotsPerInch) {
    paper_ = printerLayout;
    paper_.setUnits(QPageLayout::Inch);
    if (dotsPerInch > 0) dpi_ = dotsPerInch;
}

RPaperMetrics TPrintPages::Paper() const {
    const QMarginsF m = paper_.margins(QPageLayout::Inch);
    return RPaperMetrics{PageInches(), m, Landscape()};
}

void TPrintPages::SetLandscape(bool on) { paper_.setOrientation(on ? QPageLayout::Landscape : QPageLayout::Portrait); }

QSizeF TPrintPages::PageInches() const { return paper_.fullRect(QPageLayout::Inch).size(); }

QPageLayout TPrintPages::EngineLayout() const {
    const QMarginsF m = paper_.margins(QPageLayout::Inch);
    const double extra = PrintGeometry::kMarginInches;
    QPageLayout layout(paper_.pageSize(), paper_.orientation(), m + QMarginsF(extra, extra, extra, extra), QPageLayout::Inch);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

bool TPrintPages::SetPdf(const QByteArray& pdf) {
    // QtPdf reads a file in one call; the file stays open while the document lives.
    auto file = std::make_unique<QTemporaryFile>();
    if (pdf.isEmpty() || !file->open() || file->write(pdf) != pdf.size() || !file->flush()) return false;
    auto document = std::make_unique<QPdfDocument>();
    if (document->load(file->fileName()) != QPdfDocument::Error::None || document->pageCount() < 1) return false;
    pdf_ = std::move(document);
    pdfFile_ = std::move(file);
    pdfBytes_ = pdf;
    return true;
}

int TPrintPages::Count() const { return pdf_ ? pdf_->pageCount() : 0; }

QImage TPrintPages::PagePicture(int index, QSize pixels) const {
    if (index < 0 || index >= Count() || pixels.isEmpty()) return {};
    QImage image = pdf_->render(index, pixels);
    if (image.isNull()) return image;
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The header is laid out in printer pixels: the picture says it has the printer's
    // resolution and the painter scales printer pixels down to the picture's.
    const int pageWidth = qRound(PageInches().width() * dpi_);
    const int dotsPerMeter = qRound(dpi_ / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(double(pixels.width()) / pageWidth, double(pixels.width()) / pageWidth);
    PaintHeader(painter, index, pageWidth);
    return image;
}

void TPrintPages::PaintPage(QPainter& painter, int index, QPrinter& printer) const {
    if (index < 0 || index >= Count()) return;
    const QRectF sheet = printer.paperRect(QPrinter::DevicePixel);
    const QSize pixels = (PageInches() * std::min(kPrintRasterDpi, printer.resolution())).toSize();
    const QImage image = pdf_->render(index, pixels);
    painter.drawImage(sheet, image);
    PaintHeader(painter, index, qRound(sheet.width()));
}

void TPrintPages::PaintHeader(QPainter& painter, int index, int pageWidth) const {
    if (pageNumbers_ && OnPrintHeader) OnPrintHeader(painter, index + 1, pageWidth);
}
