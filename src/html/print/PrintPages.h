#pragma once
// TPrintPages: the printed pages of one document. It keeps the paper of the printer (size,
// unprintable edges, resolution, orientation), the layout the engine lays a document out on
// (the printable area less 2 cm on each side), the pages the engine made (a PDF read through
// QtPdf) and the page-number flag. A page is drawn as a picture for the preview or onto a
// printer; the header ("Страница N") comes from OnPrintHeader in printer pixels. Window thread.
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <functional>
#include <memory>

#include "html/print/PrintGeometry.h"

class QPainter;
class QPdfDocument;
class QPrinter;
class QTemporaryFile;

class TPrintPages {
public:
    TPrintPages();
    ~TPrintPages();

    // Takes the paper of a printer (its page layout and resolution in dots per inch).
    void SetPaper(const QPageLayout& printerLayout, int dotsPerInch);
    RPaperMetrics Paper() const;
    bool Landscape() const { return paper_.orientation() == QPageLayout::Landscape; }
    void SetLandscape(bool on);
    bool PageNumbers() const { return pageNumbers_; }
    void SetPageNumbers(bool on) { pageNumbers_ = on; }
    int DotsPerInch() const { return dpi_; }
    // The whole sheet in inches, as it stands now.
    QSizeF PageInches() const;
    // The layout the engine lays the document out on: the sheet, margins of the unprintable
    // edges plus 2 cm.
    QPageLayout EngineLayout() const;

    // Takes the engine's pages; false (the old pages kept) when they are no PDF.
    bool SetPdf(const QByteArray& pdf);
    const QByteArray& Pdf() const { return pdfBytes_; }
    int Count() const;
    // A page of pixels size with its header, for the screen.
    QImage PagePicture(int index, QSize pixels) const;
    // A page on the whole sheet of painter's device (a printer set to full page).
    void PaintPage(QPainter& painter, int index, QPrinter& printer) const;

    // Draws the header of page (1-based) on a canvas pageWidth printer pixels wide.
    std::function<void(QPainter&, int page, int pageWidth)> OnPrintHeader;

private:
    void PaintHeader(QPainter& painter, int index, int pageWidth) const;

    QPageLayout paper_;
    int dpi_ = 300;
    bool pageNumbers_ = true;
    QByteArray pdfBytes_;
    std::unique_ptr<QTemporaryFile> pdfFile_;  // before the document, which reads it
    std::unique_ptr<QPdfDocument> pdf_;
};
