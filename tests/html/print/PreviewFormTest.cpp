// The print preview against the real browser and the system's default printer: page buttons,
// view zoom by mouse, picture fitting, the go-to dialog, re-pagination and its cancelling.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

#include "PrintTestBook.h"
#include "html/PageHeader.h"
#include "html/print/GoPageForm.h"
#include "html/print/PreviewForm.h"
#include "html/print/PreviewPage.h"
#include "html/print/PrintFrameViewer.h"
#include "html/print/PrintStatusForm.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"
#include "platform/QtText.h"

namespace {

class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpPrintBook();
        if (!PrinterExpected()) GTEST_SKIP() << "no default printer";
    }
    // A preview of file, opened and shown.
    std::unique_ptr<TPreviewForm> Open(const char* file, bool picture = false, QSize size = {}) {
        EXPECT_TRUE(viewer_.Load(file));
        RPrintHost host;
        host.showHelpTopic = [this](const std::string& topic) { topics_.push_back(topic); };
        host.printHeader = [](QPainter& p, int page, int width) { PaintPageHeader(p, page, width, true); };
        auto form = std::make_unique<TPreviewForm>(viewer_, host);
        EXPECT_TRUE(form->Open(picture, size.width(), size.height()));
        form->resize(900, 700);
        form->show();
        return form;
    }
    TPrintFrameViewer viewer_;
    std::vector<std::string> topics_;
};

QString Caption(const TPreviewForm& form, TPreviewForm::EButton b) { return form.Button(b)->text(); }

}  // namespace

TEST_F(Preview, AOnePageDocumentDisablesTwoPagesAndGoToWhileALongOneMovesThroughItsPages) {
    auto one = Open(kShortPage);
    EXPECT_EQ(one->PageCount(), 1);
    EXPECT_FALSE(one->Button(TPreviewForm::kTwoPages)->isEnabled());
    EXPECT_FALSE(one->Button(TPreviewForm::kGoTo)->isEnabled());
    EXPECT_FALSE(one->Button(TPreviewForm::kNext)->isEnabled());
    EXPECT_EQ(one->StatusText(TPreviewForm::kPagePanel), QString::fromUtf8("Страница 1 из 1"));
    EXPECT_EQ(Caption(*one, TPreviewForm::kFirst), QString::fromUtf8("Первая станица"));
    EXPECT_EQ(one->windowTitle(), QString::fromUtf8("Предварительный просмотр"));
    // F1 asks for the preview's help topic.
    QTest::keyClick(one.get(), Qt::Key_F1);
    EXPECT_EQ(topics_, std::vector<std::string>{"Topic18"});

    auto many = Open(kLongPage);
    const int count = many->PageCount();
    ASSERT_GE(count, 3);
    EXPECT_TRUE(many->Button(TPreviewForm::kTwoPages)->isEnabled());
    EXPECT_FALSE(many->Button(TPreviewForm::kPrevious)->isEnabled());
    QTest::keyClick(many.get(), Qt::Key_End);
    EXPECT_EQ(many->CurrentPage(), count - 1);
    EXPECT_FALSE(many->Button(TPreviewForm::kLast)->isEnabled());
    EXPECT_EQ(many->StatusText(TPreviewForm::kPagePanel), QString::fromUtf8("Страница %1 из %1").arg(count));
    QTest::keyClick(many.get(), Qt::Key_PageUp);
    EXPECT_EQ(many->CurrentPage(), count - 2);
    // Two pages: the second panel shows the next page.
    many->Button(TPreviewForm::kTwoPages)->click();
    EXPECT_TRUE(many->PagePanel(1)->isVisible());
    EXPECT_EQ(many->PagePanel(1)->Page(), count - 1);
}

TEST_F(Preview, ViewZoomByMouseStopsAtTwentyTimesAndATenth) {
    auto form = Open(kShortPage);
    TPreviewPage* page = form->PagePanel(0);
    for (int i = 0; i < 30; ++i) form->PagePress(Qt::LeftButton, QPoint(page->width() / 2, page->height() / 2), 0);
    EXPECT_DOUBLE_EQ(form->Zoom(), 20.0);
    EXPECT_EQ(form->ZoomBox()->currentText(), QString::fromUtf8("Вручную"));
    EXPECT_TRUE(form->StatusText(TPreviewForm::kZoomPanel).contains(QRegularExpression(": 2\\D?000%$")))
        << form->StatusText(TPreviewForm::kZoomPanel).toStdString();
    for (int i = 0; i < 60; ++i) QTest::mouseClick(form->PagePanel(0), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_DOUBLE_EQ(form->Zoom(), 0.1);
}

// A wide picture on a portrait printer turns the sheet and shrinks to fit inside the margins.
TEST_F(Preview, AWidePictureOnAPortraitPrinterSwitchesToLandscape) {
    ASSERT_TRUE(viewer_.Load(kWidePicture));
    const QSize size = viewer_.PictureSize();
    EXPECT_EQ(size, QSize(1200, 400));
    auto form = Open(kWidePicture, true, size);
    EXPECT_TRUE(form->Pages().Landscape());
    EXPECT_EQ(form->PageCount(), 1);
    EXPECT_GT(form->PrintScale(), 0.0);
    EXPECT_LT(form->PrintScale(), 1.0);
    EXPECT_TRUE(form->Button(TPreviewForm::kOrientation)->isChecked());
}

// Sizes that never came are no picture: the scale stays 1, not negative.
TEST_F(Preview, APictureRequestWithoutSizesPrintsAtTrueSize) {
    auto form = Open(kTallPicture, true, QSize(-1, -1));
    EXPECT_DOUBLE_EQ(form->PrintScale(), 1.0);
    EXPECT_FALSE(form->Pages().Landscape());
}

TEST_F(Preview, GoingToPageZeroOrBeyondTheLastLandsOnTheFirstOrLastPage) {
    auto form = Open(kLongPage);
    form->GoToPage(1);
    auto type = [&](const char* typed) {
        OnNextModal<TGoPageForm>([typed](TGoPageForm* dialog) {
            dialog->NumberBox()->selectAll();
            QTest::keyClicks(dialog->NumberBox(), typed);
            QTest::keyClick(dialog->NumberBox(), Qt::Key_Return);
        });
        form->GoToPageDialog();
        return form->CurrentPage();
    };
    EXPECT_EQ(type("0"), 0);
    EXPECT_EQ(type("99"), form->PageCount() - 1);
    EXPECT_EQ(type("2"), 1);
}

// The print zoom lays the pages out again bigger; a stop during that keeps the pages there were.
TEST_F(Preview, PrintZoomRepaginatesAndAStoppedPaginationKeepsThePreviousPages) {
    auto form = Open(kLongPage);
    const int count = form->PageCount();
    form->GoToPage(count - 1);
    form->SetTool(TPreviewForm::kPrintZoomTool);
    for (int i = 0; i < 3; ++i) form->PagePress(Qt::RightButton, QPoint(5, 5), 0);
    EXPECT_NEAR(form->PrintScale(), 1 / 1.331, 1e-9);
    EXPECT_LT(form->PageCount(), count);
    EXPECT_EQ(form->CurrentPage(), form->PageCount() - 1);  // clamped to the new last page
    const int smaller = form->PageCount();
    OnNextModal<TPrintStatusForm>([](TPrintStatusForm* status) { QTest::keyClick(status, Qt::Key_Space); });
    form->PagePress(Qt::LeftButton, QPoint(5, 5), 0);
    EXPECT_NEAR(form->PrintScale(), 1 / 1.331, 1e-9);
    EXPECT_EQ(form->PageCount(), smaller);
    // Stopped, the scale restored and the backgrounds left out stay as the pages are.
    OnNextModal<TPrintStatusForm>([](TPrintStatusForm* status) { QTest::keyClick(status, Qt::Key_Space); });
    form->RestoreScale();
    EXPECT_NEAR(form->PrintScale(), 1 / 1.331, 1e-9);
    EXPECT_EQ(form->PageCount(), smaller);
    QAction* backgrounds = nullptr;
    for (QAction* action : form->findChildren<QAction*>())
        if (action->text() == QString::fromUtf8("Печатать фон")) backgrounds = action;
    ASSERT_NE(backgrounds, nullptr);
    OnNextModal<TPrintStatusForm>([](TPrintStatusForm* status) { QTest::keyClick(status, Qt::Key_Space); });
    backgrounds->setChecked(false);
    EXPECT_TRUE(form->Backgrounds());
    EXPECT_TRUE(backgrounds->isChecked());
    form->RestoreScale();
    EXPECT_EQ(form->PageCount(), count);
}

// A wiring viewer beside the book hears of each preview, with the preview window's handle.
TEST_F(Preview, OpeningTellsTheWiringViewerWhichWindowPreviews) {
    TChannelWindow wiring;
    wiring.SetCaption("Varurorivazi");
    wiring.SetVisible(true);
    std::vector<std::pair<quint32, quint64>> heard;
    QObject::connect(&wiring, &TChannelWindow::MessageReceived,
                     [&heard](quint32 message, quint64 wParam, quint64) { heard.emplace_back(message, wParam); });
    auto form = Open(kShortPage);
    ASSERT_TRUE(WaitFor([&] { return !heard.empty(); }, 5000));
    EXPECT_EQ(heard[0].first, 1690u);
    THandle preview = 0;
    ASSERT_TRUE(TInstanceChannel::Instance().FindVisibleWindow(FromQt(QString::fromUtf8("Предварительный просмотр")), preview));
    EXPECT_EQ(heard[0].second, preview);
}
