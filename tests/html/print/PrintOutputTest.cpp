// Printing a range through the system print dialog onto the test command's PDF printer, and
// reading the printed PDF back with poppler's tools. The PDF printer turns each job into
// PostScript and back, which loses the fonts' map to Unicode, so the header is found by its
// ink on the page rather than by its text.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSpinBox>

#include "PrintTestBook.h"
#include "html/PageHeader.h"
#include "html/print/PreviewForm.h"
#include "html/print/PrintFrameViewer.h"

namespace {

QStringList PdfsIn(const QString& folder) { return QDir(folder).entryList({"*.pdf"}, QDir::Files, QDir::Time); }

QString Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

constexpr int kProbeDpi = 150;

// The box of dark pixels in the top half inch of a printed sheet, at kProbeDpi.
QRect TopInk(const QString& pdf, int page) {
    QTemporaryDir dir;
    const QString base = dir.filePath("sheet");
    QProcess::execute("pdftoppm", {"-gray", "-r", QString::number(kProbeDpi), "-f", QString::number(page), "-l",
                                   QString::number(page), "-singlefile", pdf, base});
    const QImage sheet(base + ".pgm");
    QRect ink;
    for (int y = 0; y < kProbeDpi / 2 && y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (qGray(sheet.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}

}  // namespace

TEST(PrintOutput, ARangeChosenInThePrintDialogPrintsThosePagesWithTheirHeaders) {
    SetUpPrintBook();
    const QString out = qEnvironmentVariable("BOOKSHELL_PRINT_OUT");
    if (out.isEmpty() || !PrinterExpected()) GTEST_SKIP() << "no PDF printer of the test command";
    TPrintFrameViewer viewer;
    ASSERT_TRUE(viewer.Load(kLongPage));
    RPrintHost host;
    host.printHeader = [](QPainter& p, int page, int width) { PaintPageHeader(p, page, width, true); };
    TPreviewForm form(viewer, host);
    ASSERT_TRUE(form.Open(false, 0, 0));
    ASSERT_GE(form.PageCount(), 3);
    const QStringList before = PdfsIn(out);
    OnNextModal<QPrintDialog>([](QPrintDialog* dialog) {
        QRadioButton* range = dialog->findChild<QRadioButton*>("printRange");
        QSpinBox* from = dialog->findChild<QSpinBox*>("from");
        QSpinBox* to = dialog->findChild<QSpinBox*>("to");
        if (range && from && to) {
            range->setChecked(true);
            from->setValue(2);
            to->setValue(3);
        }
        dialog->accept();
    });
    form.Print();
    QString printed;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const QString& name : PdfsIn(out))
                if (!before.contains(name) && QFileInfo(out + "/" + name).size() > 0) printed = out + "/" + name;
            return !printed.isEmpty();
        },
        60000))
        << "nothing printed into " << out.toStdString();
    WaitFor([] { return false; }, 1000);  // the printer may still be writing
    EXPECT_TRUE(Output("pdfinfo", {printed}).contains(QRegularExpression("Pages:\\s+2\\b")));
    // The header ends 50 printer pixels from the right edge, its box 40 from the top.
    const int printerDpi = QPrinter(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution).resolution();
    for (int page : {1, 2}) {
        const QRect header = TopInk(printed, page);
        ASSERT_FALSE(header.isEmpty()) << "no header on sheet " << page;
        const double right = (header.right() + 1) * printerDpi / double(kProbeDpi);
        const double paperWidth = form.Pages().PageInches().width() * printerDpi;
        EXPECT_NEAR(paperWidth - right, 50, 2.0 * printerDpi / kProbeDpi);
        // Its text box starts at 40, the letters a little lower, all within an 8-point line.
        const double top = header.top() * printerDpi / double(kProbeDpi);
        EXPECT_GE(top, 40 - printerDpi / double(kProbeDpi));
        EXPECT_LE(top, 40 + 8.0 / 72 * printerDpi);
    }
}
