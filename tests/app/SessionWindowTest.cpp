// The window in a real desktop session, X11 or Wayland, at the screen's scale or a given one: a
// shaped book opens with a shape the window system takes, popups open by the pointer and close,
// the dialog, the standard window, the about window, a page click and the fade work, and at a
// fractional scale the skin lines up with its pixels and a press on a button's last pixel hits it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cmath>

#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "app/StandardWindow.h"
#include "app/TestDisc.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "html/print/PreviewForm.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"
#include "skin/AboutBox.h"
#include "skin/PopupWin.h"
#include "skin/SkinDialog.h"
#include "skin/SkinScreen.h"
#include "skin/WindowShape.h"
#include "support/ReaderClick.h"
#include "support/Wait.h"

namespace {

bool InSession() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InSession()) GTEST_SKIP() << "needs a desktop session (the test command's Xvfb or weston)";
        answerWait_ = PageAnswerWait();
        SetPageAnswerWait(3000);
    }
    void TearDown() override {
        window_.reset();
        ClosePack();
        StartState() = TStartState{};
        SetPageAnswerWait(answerWait_);
    }
    // The window shown as it is built, with the outline of its description (the opening
    // animation would leave its last ellipse as the shape).
    void ShowPlain(const std::string& folder) {
        window_ = std::make_unique<TMainForm>(folder, TCommandLine{}, lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        window_->show();
        ASSERT_TRUE(WaitUntil([&] { return window_->isVisible() && !window_->EffectRunning(); }));
        Pump(200);
    }
    void Open(const std::string& folder) {
        window_ = std::make_unique<TMainForm>(folder, TCommandLine{}, lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        bool opened = false;
        window_->ShowAnimated([&] { opened = true; });
        ASSERT_TRUE(WaitUntil([&] { return opened && window_->isVisible(); }));
        ASSERT_TRUE(WaitUntil([&] { return !window_->EffectRunning() && !window_->AnimationRunning(); }));
    }
    // A press and release at a window position that may fall between pixels.
    void Click(QPointF at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, window_->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window_.get(), &event);
        }
    }
    const RBtn& Button(const char* command) const {
        for (const RBtn& b : window_->Elements().ScreenButtons[size_t(window_->CurrentScreen())])
            if (b.command == command) return b;
        throw std::runtime_error(command);
    }
    TPopupWindow* VisiblePopup() const {
        for (TPopupWindow* popup : window_->findChildren<TPopupWindow*>())
            if (popup->isWindow() && popup->isVisible()) return popup;
        return nullptr;
    }

    TInstanceLock lock_;
    std::unique_ptr<TMainForm> window_;
    int answerWait_ = 100;
};

// A round book: an outline of 360 points over a 400 x 400 picture, and a button.
std::string RoundBook() {
    std::string outline;
    for (int i = 0; i < 360; ++i) {
        const double a = i * M_PI / 180;
        outline += (i ? ";" : "") + std::to_string(int(std::lround(200 + 199 * std::cos(a)))) + "," +
                   std::to_string(int(std::lround(200 + 199 * std::sin(a))));
    }
    const std::string text = "title=" + UniqueTitle("round") + "\r\nvertexmain=[" + outline + "]\r\n1_screen=back1.bmp\r\n"
                             "1button vx=150 vy=180 fn1=a.bmp; fn2=a.bmp; fn3=a.bmp; go=2\r\n2_screen=back2.bmp\r\n";
    return MakeTestDisc(text, "run", {}, "interface.dat", "Zaz.dhl",
                        {{"back1.bmp", SolidBitmap(400, 400, 0x336699)}, {"back2.bmp", SolidBitmap(400, 400, 0x993366)},
                         {"a.bmp", SolidBitmap(100, 40, 0xFFCC00)}})
        .programDir;
}

} // namespace

TEST_F(Session, ARoundBookOpensWithAShapeTheWindowSystemTakesAndItsButtonWorks) {
    ShowPlain(RoundBook());
    const QRegion mask = window_->mask();
    ASSERT_FALSE(mask.isEmpty());
    if (ShapeByPainting()) {
        EXPECT_LE(mask.rectCount(), kMaxShapeRects);
    }
    EXPECT_TRUE(mask.contains(QPoint(200, 200)));
    EXPECT_FALSE(mask.contains(QPoint(5, 5)));
    const QImage face = window_->grab().toImage();
    const qreal dpr = face.devicePixelRatio();
    EXPECT_EQ(QColor(face.pixel(int(100 * dpr), int(200 * dpr))).rgb(), QColor(0x33, 0x66, 0x99).rgb());
    if (ShapeByPainting()) {  // under load a first frame may still carry a partial corner for a moment
        EXPECT_TRUE(WaitUntil([&] { return qAlpha(window_->grab().toImage().pixel(2, 2)) == 0; }, 2000))
            << "outside the outline is not painted";
    }
    QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_TRUE(WaitUntil([&] { return window_->CurrentScreen() == 1; }));
    // Its opening animation, an ellipse a scan line at a time, reaches the window system bounded.
    window_.reset();
    ClosePack();
    StartState() = TStartState{};
    Open(RoundBook());
    if (ShapeByPainting()) {
        EXPECT_LE(window_->mask().rectCount(), kMaxShapeRects);
    }
}

TEST_F(Session, APopupOpensByThePointerAndClosesOnAPressElsewhere) {
    Open(SAMPLE_RUN);
    const RBtn& menu = Button("contextmenu1");
    const QPoint inside((menu.left + menu.right) / 2, (menu.top + menu.bottom) / 2);
    QTest::mouseMove(window_.get(), inside);
    QTest::mouseClick(window_.get(), Qt::LeftButton, {}, inside);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePopup() != nullptr; }));
    const QRect popup = VisiblePopup()->geometry();
    const QPoint pointer = window_->mapToGlobal(inside);
    EXPECT_LT((popup.center() - pointer).manhattanLength(), 400) << "the popup opens by the pointer " << popup.x() << "," << popup.y() << " " << pointer.x() << "," << pointer.y() << " win " << window_->x() << "," << window_->y();
    QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(400, 300));
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() == nullptr; }));
}

TEST_F(Session, TheDialogTheStandardWindowAndTheAboutWindowComeAndGo) {
    Open(SAMPLE_RUN);
    TCoolDialog* dialog = window_->Controls()->Dialog();
    window_->Controls()->ShowMessage("message");
    ASSERT_TRUE(WaitUntil([&] { return dialog->isVisible() && !dialog->EffectRunning(); }));
    for (const RDialogButton& b : dialog->Buttons()) QTest::mouseClick(dialog, Qt::LeftButton, {}, b.rect.center());
    EXPECT_TRUE(WaitUntil([&] { return !dialog->isVisible(); }));

    window_->RunCommand("2");
    window_->RunCommand("standartwin");
    ASSERT_TRUE(window_->InStandardWindow());
    QAction* leave = nullptr;
    for (QAction* action : window_->Standard()->ToolBar()->actions())
        if (action->text() == QString::fromUtf8("Свернуть")) leave = action;
    ASSERT_NE(leave, nullptr);
    leave->trigger();
    EXPECT_TRUE(WaitUntil([&] { return !window_->InStandardWindow() && window_->isVisible(); }));
    EXPECT_TRUE(window_->HtmlFrame()->CurrentView()->isVisible()) << "the page shows on its panel again";

    window_->RunCommand("about");
    ASSERT_TRUE(WaitUntil([&] { return window_->AboutBox() && window_->AboutBox()->isVisible() && !window_->AboutBox()->EffectRunning(); }));
    QTest::keyClick(window_->AboutBox(), Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([&] { return !window_->AboutBox()->isVisible(); }));
}

TEST_F(Session, APageClickAndTheFadeToTheStartScreen) {
    Open(SAMPLE_RUN);
    window_->RunCommand("2");
    TFrameViewer* view = window_->HtmlFrame()->CurrentView();
    ASSERT_TRUE(WaitUntil([&] {
        return !view->IsLoading() && view->EvaluateScript("document.readyState === 'complete' && document.links.length > 0").toBool();
    }, 30000));
    Pump(300);  // drawn once
    const std::string start = view->CurrentFile();
    ASSERT_TRUE(ReaderClick(*view, "document.querySelector('a[href]')"));
    EXPECT_TRUE(WaitUntil([&] { return view->CurrentFile() != start; }));
    window_->RunCommand("1");
    EXPECT_TRUE(window_->EffectRunning());
    ASSERT_TRUE(WaitUntil([&] { return !window_->EffectRunning(); }));
    const QImage face = window_->grab().toImage();
    const qreal dpr = face.devicePixelRatio();
    const QPoint panel(100, 300);  // leather on the start screen
    EXPECT_EQ(QColor(face.pixel(int(panel.x() * dpr), int(panel.y() * dpr))).rgb(), QColor(window_->Background().pixel(panel)).rgb());
}

// At a fractional scale a device pixel lies between skin pixels: the button's pictures keep to
// their rectangle, and a press on the button's last column hits the button.
TEST_F(Session, AtAnyScaleTheSkinLinesUpAndAButtonsEdgeIsTheButtons) {
    Open(SAMPLE_RUN);
    const qreal dpr = window_->devicePixelRatioF();
    const RBtn& menu = Button("contextmenu1");
    window_->FormMouseMove(QPoint(-1, -1), Qt::NoModifier);  // no element keeps a hover look
    ASSERT_TRUE(WaitUntil([&] { return !window_->EffectRunning(); }));
    Pump(200);
    const QImage face = window_->grab().toImage();
    const QImage picture = window_->LoadPicture(menu.picture1);
    ASSERT_FALSE(picture.isNull());
    // Each device pixel shows one of the skin pixels it covers, unblended: the picture's inside
    // its rectangle, the background's outside, no seam between them.
    const auto skin = [&](int x, int y) {
        return QColor(x >= menu.left ? picture.pixel(x - menu.left, y - menu.top) : window_->Background().pixel(x, y)).rgb();
    };
    const auto covered = [dpr](int device) { return std::pair(int(std::floor(device / dpr)), int(std::floor((device + 1) / dpr - 1e-6))); };
    const int dy = int((menu.top + picture.height() / 2) * dpr);
    const auto [top, bottom] = covered(dy);
    for (int dx = int(menu.left * dpr) - 3; dx < int(menu.left * dpr) + 4; ++dx) {
        const auto [first, last] = covered(dx);
        const QRgb shown = QColor(face.pixel(dx, dy)).rgb();
        bool one = false;
        for (const int x : {first, last})
            for (const int y : {top, bottom}) one = one || shown == skin(x, y);
        EXPECT_TRUE(one) << "device pixel " << dx << "," << dy;
    }
    const QPoint middle(menu.left + picture.width() / 2, menu.top + picture.height() / 2);
    Click(QPointF(menu.right - 0.4, middle.y()));  // in the button's last pixel column
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() != nullptr; }, 5000));
}

// The page's print preview opens over the window and closes again (with the test command's
// PDF printer as the default printer).
TEST_F(Session, ThePrintPreviewOpensAndCloses) {
    if (QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "needs a default printer (the test command's BookshellPDF)";
    Open(SAMPLE_RUN);
    window_->RunCommand("2");
    TFrameViewer* view = window_->HtmlFrame()->CurrentView();
    ASSERT_TRUE(WaitUntil([&] { return !view->IsLoading() && view->EvaluateScript("document.readyState").toString() == "complete"; }, 30000));
    bool shown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* preview = dynamic_cast<TPreviewForm*>(QApplication::activeModalWidget()); preview && preview->isVisible()) {
            shown = true;
            preview->close();
        }
    });
    closer.start(50);
    window_->RunCommand("printhtml");
    EXPECT_TRUE(WaitUntil([&] { return shown; }, 30000));
}
