// Printing from the page frame with a printer: a picture request's fit holds for that print
// only, the current page prints as the page shows, and an unusable default printer is told.
#include <gtest/gtest.h>

#include "PrintFrameFixture.h"
#include "html/engine/FrameViewer.h"
#include "html/print/PreviewForm.h"
#include "html/print/PrintJob.h"
#include "platform/QtText.h"

namespace {

struct RSeen {
    bool shown = false;
    bool landscape = false;
    double scale = 0;
    int pages = 0;
    bool returned = false;  // the print call had returned while the preview showed
};

// Looks at the next preview when it shows and closes it.
RSeen* WatchPreview(const bool* returned) {
    auto* seen = new RSeen;
    OnNextModal<TPreviewForm>([seen, returned](TPreviewForm* form) {
        *seen = RSeen{true, form->Pages().Landscape(), form->PrintScale(), form->PageCount(), *returned};
        form->close();
    });
    return seen;
}

}  // namespace

TEST_F(PrintFrame, APictureRequestFitsThatPrintOnlyAndTheNextPrintIsPlain) {
    if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    frame_->SetPicturePrint(true);
    frame_->SetPicturePrintSize(1200, 400);
    // A requested file is deleted after the print call returns: that is after the preview closed.
    bool returned = false;
    std::unique_ptr<RSeen> picture(WatchPreview(&returned));
    EXPECT_TRUE(frame_->PrintFile(kWidePicture));
    returned = true;
    EXPECT_TRUE(picture->shown);
    EXPECT_FALSE(picture->returned);
    EXPECT_TRUE(picture->landscape);
    EXPECT_LT(picture->scale, 1.0);
    // The flag and the sizes went with that print.
    std::unique_ptr<RSeen> page(WatchPreview(&returned));
    EXPECT_TRUE(frame_->PrintFile(kShortPage));
    EXPECT_FALSE(page->landscape);
    EXPECT_DOUBLE_EQ(page->scale, 1.0);
}

// The current page is a picture file: it is fitted by the size the page shows.
TEST_F(PrintFrame, TheCurrentPictureFitsBySizeThePageShows) {
    if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    frame_->OpenInCurrentView(kWidePicture);
    ASSERT_TRUE(WaitFor([&] { return !frame_->CurrentView()->IsLoading(); }));
    const bool returned = false;
    std::unique_ptr<RSeen> seen(WatchPreview(&returned));
    frame_->PrintPage();
    EXPECT_TRUE(seen->shown);
    EXPECT_TRUE(seen->landscape);
    // A file that is not there shows no preview.
    EXPECT_FALSE(frame_->PrintFile("d:\\run\\html\\missing.htm"));
}

// A page in frames prints the frame the reader looks at: the biggest, or the one with the focus.
TEST_F(PrintFrame, APageInFramesPrintsTheFrameTheReaderLooksAt) {
    if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    frame_->OpenInCurrentView(kFramesPage);
    TFrameViewer* view = frame_->CurrentView();
    ASSERT_TRUE(WaitFor([&] { return !view->IsLoading() && view->FrameDocument("bot") == "d:\\run\\html\\long.htm"; }));
    const bool returned = false;
    std::unique_ptr<RSeen> big(WatchPreview(&returned));
    frame_->PrintPage();
    EXPECT_GT(big->pages, 1) << "the long page in the bottom frame, not its frameset";
    view->EvaluateScript("frames[0].focus()");
    ASSERT_TRUE(WaitFor([&] { return view->ActiveDocument() == kShortPage; }));
    std::unique_ptr<RSeen> focused(WatchPreview(&returned));
    frame_->PrintPage();
    EXPECT_EQ(focused->pages, 1);
}

TEST_F(PrintFrame, APaginationTheBrowserDoesNotFinishIsToldAndTheNextPrintWorks) {
    if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    const int wait = PrintJob::SetEngineWait(1);
    EXPECT_FALSE(frame_->PrintFile(kShortPage));
    PrintJob::SetEngineWait(wait);
    EXPECT_EQ(host_.messages, std::vector<std::string>{FromQt(QString::fromUtf8("Не удалось подготовить страницу к печати."))});
    const bool returned = false;
    std::unique_ptr<RSeen> seen(WatchPreview(&returned));
    EXPECT_TRUE(frame_->PrintFile(kShortPage));
    EXPECT_TRUE(seen->shown);
}

TEST_F(PrintFrame, AnUnusableDefaultPrinterIsToldOnTheDialogsThirdPageOrInABox) {
    if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    const QByteArray kept = qgetenv("LPDEST");
    qputenv("LPDEST", "BookshellNoSuchPrinter");
    EXPECT_FALSE(frame_->PrintFile(kShortPage));
    EXPECT_EQ(host_.messagePages, std::vector<int>{3});
    host_.skinnedDialog = false;
    QString told;
    CloseNextWarning(told);
    EXPECT_FALSE(frame_->PrintFile(kShortPage));
    EXPECT_EQ(told, QString::fromUtf8("Принтер, установленный по умолчанию, сейчас не доступен!"));
    if (kept.isEmpty()) qunsetenv("LPDEST");
    else qputenv("LPDEST", kept);
}
