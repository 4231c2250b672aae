// The message dialog: its page layout with long texts, its elements' commands and result codes,
// the find's result list, closing while a search runs, and the stored switch states.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <map>

#include "effects/EffectsTestUtil.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "skin/DialogText.h"
#include "skin/SkinDialog.h"
#include "skin/SkinFont.h"
#include "support/IdleDialogHost.h"

namespace {

QImage solid(int w, int h, QRgb color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A 200 x 150 page whose left and right halves differ, a 50-pixel text area at (10, 10), buttons
// aligned left, middle and right, and two switches of one group.
RDialogPage page() {
    RDialogPage p;
    p.picture = "page.bmp";
    p.text.left = 10;
    p.text.top = 10;
    p.text.right = 60;
    p.text.font = "DejaVu Sans";
    p.text.size = 10;
    for (const char* align : {"left", "middle", "right"}) {
        RBtn b;
        b.left = 20 + 40 * int(p.buttons.size());
        b.top = 100;
        b.picture1 = b.picture2 = b.picture3 = "button.bmp";
        b.runText = align;
        b.command = p.buttons.empty() ? "yes" : p.buttons.size() == 1 ? "no" : "findtxtall2";
        p.buttons.push_back(b);
    }
    for (int i = 0; i < 2; ++i) {
        RSwthGrp s;
        s.left = 20 + 40 * i;
        s.top = 50;
        s.picture1 = s.picture2 = s.picture3 = s.picture4 = "switch.bmp";
        s.group = 1;
        s.state = i == 0;
        s.store = true;
        s.command = i == 0 ? "findtxtlimit" : "findnext3";
        p.switches.push_back(s);
    }
    return p;
}

struct Fixture : ::testing::Test, TIdleDialogHost {
    std::vector<std::string> calls;
    bool busy = false;
    std::vector<std::string> results;
    std::vector<QWidget*> boxes;
    QImage LoadPicture(const std::string& name) override {
        if (name == "page.bmp") {
            QImage image = solid(200, 150, qRgb(10, 10, 10));
            image.fill(qRgb(10, 10, 10));
            for (int y = 0; y < 150; ++y)
                for (int x = 100; x < 200; ++x) image.setPixel(x, y, qRgb(200, 200, 200));
            return image;
        }
        return name == "button.bmp" || name == "switch.bmp" ? solid(30, 20, qRgb(0, 0, 255)) : QImage();
    }
    bool Busy() override { return busy; }
    void StopFind() override { calls.push_back("stop"); }
    void SetFindMode(TFindMode m) override { calls.push_back("mode " + std::to_string(int(m))); }
    void FindNext(int box) override { calls.push_back("next " + std::to_string(box)); }
    std::vector<std::string> FindResults() override { return results; }
    std::vector<QWidget*> FindBoxes() override { return boxes; }
    void EscapePressed(QKeyEvent*) override { calls.push_back("escape"); }
    void DialogClosed(int code) override { calls.push_back("closed " + std::to_string(code)); }
    // Each test stores its switch states under its own title.
    static std::string Title() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    TDialogDescription Description() {
        TDialogDescription d;
        d.pages = {page(), page()};
        return d;
    }
};

// Shows a page and lets its opening fade end, after which the pointer counts.
bool show(TCoolDialog& dialog, int page, const std::string& text) {
    const bool shown = dialog.ShowDialog(page, text);
    WaitUntil([&] { return !dialog.EffectRunning(); }, 5000);
    return shown;
}

int textWidth(const std::string& text) { return QFontMetrics(SkinFont("DejaVu Sans", 10, "")).horizontalAdvance(ToQt(text)); }

}  // namespace

TEST_F(Fixture, ALongTextWidensThePageAndMovesTheButtonsByTheirAlign) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    const std::string text = "A message much wider than fifty pixels";
    ASSERT_TRUE(show(dialog, 0, text));
    const int e = textWidth(text) - 50;
    ASSERT_GT(e, 0);
    EXPECT_EQ(dialog.width(), 200 + e);
    EXPECT_EQ(dialog.Picture().pixel(100 + e / 2, 140), qRgb(200, 200, 200));  // the middle column, repeated
    EXPECT_EQ(dialog.Picture().pixel(99, 140), qRgb(10, 10, 10));
    const auto& b = dialog.Buttons();
    EXPECT_EQ(b[0].rect.left(), 20);
    EXPECT_EQ(b[1].rect.left(), 60 + e / 2);
    EXPECT_EQ(b[2].rect.left(), 100 + e);
    EXPECT_EQ(dialog.Switches()[1].rect.left(), 60);  // switches never move
    ASSERT_TRUE(show(dialog, 0, "ok"));
    EXPECT_EQ(dialog.width(), 200);
    EXPECT_EQ(dialog.Buttons()[2].rect.left(), 100);
}

TEST(DialogText, LinesBreakBetweenWordsAndLongPathsAndCutTextsSayTheyAreShort) {
    const QFontMetrics m(SkinFont("DejaVu Sans", 10, ""));
    const QString path = QStringLiteral("..\\..\\..\\a\\very\\long\\folder\\name\\ESCAPE1.txt");
    const int width = 120;
    struct Case {
        QString text;
        int maxLines;
        QStringList lines;
    } cases[] = {
        {"one two", 5, {"one two"}},
        {"alpha beta gamma delta epsilon zeta", 5, {}},  // broken between words
        {"File " + path + " created", 5, {}},
        {"a\nb", 5, {"a", "b"}},
        {"alpha beta gamma delta epsilon zeta eta theta iota kappa", 2, {}},
    };
    for (const Case& c : cases) {
        const QStringList lines = WrapDialogText(m, c.text, width, c.maxLines);
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(lines, c.lines) << c.text.toStdString();
        }
        EXPECT_LE(lines.size(), c.maxLines);
        for (const QString& line : lines) {
            EXPECT_LE(m.horizontalAdvance(line), width) << line.toStdString();
            for (const QString& word : line.split(' '))  // whole words, or a path shortened inside
                EXPECT_TRUE(c.text.contains(word) || word.contains(QChar(0x2026))) << word.toStdString();
        }
    }
    const QStringList withPath = WrapDialogText(m, "File " + path + " created", width, 5);
    ASSERT_EQ(withPath.size(), 3);
    EXPECT_TRUE(withPath[1].startsWith("..\\") && withPath[1].contains(QChar(0x2026)) && withPath[1].endsWith(".txt"))
        << withPath[1].toStdString();
    EXPECT_TRUE(WrapDialogText(m, cases[4].text, width, 2).back().endsWith(QChar(0x2026)));
}

TEST_F(Fixture, ATextWiderThanTheScreenRunsOnInLinesAboveTheButtons) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    QString text;
    for (int i = 0; i < 60; ++i) text += QStringLiteral("word%1 ").arg(i);
    ASSERT_TRUE(show(dialog, 0, FromQt(text)));
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    EXPECT_LE(dialog.width(), screen);
    // The text is black on the page's dark left and light right halves: ink shows on a second
    // line, and none from the switches down.
    const QFontMetrics m(SkinFont("DejaVu Sans", 10, ""));
    const auto inkInRow = [&](int y) {
        for (int x = 10; x < dialog.width() - 10; ++x)
            if (qGray(dialog.Picture().pixel(x, y)) < 5 && qGray(dialog.Picture().pixel(x, 5)) > 5) return true;
        return false;
    };
    bool secondLine = false;
    for (int y = 10 + m.height(); y < 10 + 2 * m.height(); ++y) secondLine = secondLine || inkInRow(y);
    EXPECT_TRUE(secondLine);
    for (int y = 50; y < 150; ++y) EXPECT_FALSE(inkInRow(y)) << y;
}

TEST_F(Fixture, AFittingTextIsCentredInItsArea) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    ASSERT_TRUE(show(dialog, 0, "ii"));
    int first = -1;
    for (int x = 0; x < 100 && first < 0; ++x)
        for (int y = 10; y < 30; ++y)
            if (dialog.Picture().pixel(x, y) != qRgb(10, 10, 10)) {
                first = x;
                break;
            }
    const int expected = 10 + (50 - textWidth("ii")) / 2;
    EXPECT_NEAR(first, expected, 2);
}

TEST_F(Fixture, CommandsCloseWithTheirCodesOrTalkToTheFind) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    const int codes[3] = {6, 7, 2};  // "findtxtall2" is no "findtxtall"
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(show(dialog, 0, ""));
        calls.clear();
        const QPoint at = dialog.Buttons()[size_t(i)].rect.center();
        dialog.PointerMove(at);
        EXPECT_FALSE(dialog.PointerDown(at));
        dialog.PointerUp(at);
        EXPECT_EQ(dialog.ResultCode(), codes[i]);
        EXPECT_FALSE(dialog.Showing());
    }
    ASSERT_TRUE(show(dialog, 0, ""));
    calls.clear();
    const QPoint second = dialog.Switches()[1].rect.center();
    dialog.PointerDown(second);
    EXPECT_EQ(calls, (std::vector<std::string>{"next 3"}));
    EXPECT_FALSE(dialog.Description().pages[0].switches[0].state);  // the group's other switch went off
    calls.clear();
    dialog.PointerDown(second);  // already on: nothing
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(dialog.PointerDown(QPoint(190, 5)));  // a free point drags the dialog
}

TEST_F(Fixture, WhileASearchRunsFindNextStopsItAndClosingWaitsForTheScan) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    ASSERT_TRUE(show(dialog, 1, ""));
    busy = true;
    calls.clear();
    const QPoint findNext = dialog.Switches()[1].rect.center();
    dialog.PointerDown(findNext);
    EXPECT_EQ(calls, (std::vector<std::string>{"stop"}));
    calls.clear();
    dialog.Close(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"stop"}));
    EXPECT_TRUE(dialog.Showing());
    EXPECT_FALSE(dialog.Buttons().empty());  // the scan may still use the page
    busy = false;
    dialog.ScanEnded();
    EXPECT_FALSE(dialog.Showing());
    EXPECT_EQ(calls.back(), "closed 2");
}

TEST_F(Fixture, WhileThePageFadesInItsFindBoxWaitsAndKeysDoNothing) {
    auto* box = new QLineEdit;  // the dialog's child while it shows the find page
    boxes = {box};
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    ASSERT_TRUE(dialog.ShowDialog(1, ""));
    ASSERT_TRUE(dialog.EffectRunning());
    calls.clear();  // the page's switches replayed
    EXPECT_EQ(box->parentWidget(), &dialog);
    EXPECT_TRUE(box->isHidden());
    const auto escape = [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &key);
    };
    escape();
    EXPECT_TRUE(calls.empty());
    ASSERT_TRUE(WaitUntil([&] { return !dialog.EffectRunning(); }, 5000));
    EXPECT_FALSE(box->isHidden());
    escape();
    EXPECT_EQ(calls, std::vector<std::string>{"escape"});
}

TEST_F(Fixture, AModalPageTakesAllInputUntilItClosesAndGivesItsCode) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    ASSERT_TRUE(show(dialog, 1, ""));  // the find page gives way
    QWidget* modal = nullptr;
    std::optional<int> nested = 0;
    QTimer::singleShot(50, &dialog, [&] {
        modal = QApplication::activeModalWidget();
        nested = dialog.ShowModal(0, "again");  // re-entry is refused
        dialog.Close(7);
    });
    EXPECT_EQ(dialog.ShowModal(0, "text"), 7);
    EXPECT_EQ(modal, &dialog);
    EXPECT_EQ(nested, std::nullopt);
    EXPECT_FALSE(dialog.Showing());
    EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
}

TEST_F(Fixture, TheResultListSitsUnderTheFindPageAndGoesWithoutResults) {
    TCoolDialog dialog(Description(), *this, TestTickers(), Title());
    ASSERT_TRUE(show(dialog, 1, ""));  // its "findtxtlimit" switch replays: no list
    EXPECT_EQ(dialog.height(), TCoolDialog::kEmptyFindHeight);
    EXPECT_EQ(dialog.ResultList(), nullptr);
    results = {"First page", "Second page"};
    dialog.ShowFindResults();
    ASSERT_NE(dialog.ResultList(), nullptr);
    EXPECT_EQ(dialog.ResultList()->geometry(), QRect(11, 127, 377, 112));
    EXPECT_EQ(dialog.ResultList()->count(), 2);
    EXPECT_EQ(dialog.height(), 150);
    results.clear();
    dialog.ShowFindResults();
    EXPECT_EQ(dialog.ResultList(), nullptr);
    EXPECT_EQ(dialog.height(), TCoolDialog::kEmptyFindHeight);
}

TEST_F(Fixture, AMissingPageOrPictureShowsNothingAndSaysSo) {
    TDialogDescription d = Description();
    d.pages[1].picture = "gone.bmp";
    TCoolDialog dialog(d, *this, TestTickers(), Title());
    EXPECT_FALSE(dialog.ShowDialog(1, "text"));
    EXPECT_FALSE(dialog.ShowDialog(5, "text"));
    EXPECT_FALSE(dialog.Showing());
}

// Page 1 switch 12 and page 11 switch 2 both make "SwGrpD112": neither is read nor written;
// the other stored switches keep their states between runs.
TEST_F(Fixture, StoredSwitchStatesSurviveButCollidingNamesAreLeftAlone) {
    TDialogDescription d;
    d.pages.resize(12);
    d.pages[0] = page();
    d.pages[1].switches.resize(13);
    d.pages[11].switches.resize(3);
    for (auto* s : {&d.pages[1].switches[12], &d.pages[11].switches[2]}) s->store = true;
    {
        TSettingsStore store("DialogStates");
        store.WriteBool("SwGrpD112", true);
        store.WriteBool("SwGrpD00", false);
        store.WriteBool("SwGrpD01", true);
    }
    TCoolDialog dialog(d, *this, TestTickers(), "DialogStates");
    EXPECT_FALSE(dialog.Description().pages[1].switches[12].state);
    EXPECT_FALSE(dialog.Description().pages[11].switches[2].state);
    EXPECT_TRUE(dialog.Description().pages[0].switches[1].state);
    ASSERT_TRUE(show(dialog, 0, ""));
    dialog.PointerDown(dialog.Switches()[0].rect.center());
    dialog.Close(2);
    TSettingsStore store("DialogStates");
    bool on = true;
    ASSERT_TRUE(store.ReadBool("SwGrpD01", on));
    EXPECT_FALSE(on);
    ASSERT_TRUE(store.ReadBool("SwGrpD00", on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(store.ReadBool("SwGrpD112", on));
    EXPECT_TRUE(on);  // as stored before: never written over
}
