// The text labels, the blinking status line, the path inputs and the find's scale bar.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "skin/PathInputBox.h"
#include "skin/ScaleBar.h"
#include "skin/StatusLine.h"
#include "skin/TextMsg.h"

namespace {

RText label(int number, const std::string& ident, int screen = 0, const std::string& value = "") {
    RText t;
    t.left = 10;
    t.top = 20;
    t.font = "DejaVu Sans";
    t.size = 10;
    t.value = value;
    t.number = number;
    t.ident = ident;
    t.screen = screen;
    return t;
}

struct Repaints {
    std::vector<QRect> window;
    std::vector<QRect> dialog;
    RTextHost Host(int screen = 0) {
        return {[screen] { return screen; }, [this](const QRect& r) { window.push_back(r); },
                [this](const QRect& r) { dialog.push_back(r); return true; }};
    }
};

}  // namespace

TEST(TextMsg, ChangedTextRepaintsOldAndNewRectangleEqualTextNothing) {
    Repaints seen;
    TTextMsg texts({label(1, ""), label(kDialogTextNumber, "")}, seen.Host());
    texts.SetText("Long page title  ", 1, true);
    ASSERT_EQ(seen.window.size(), 1u);
    const QRect wide = texts.Rect(0);
    EXPECT_EQ(wide.topLeft(), QPoint(10, 20));
    EXPECT_GT(wide.width(), 0);
    texts.SetText("Long page title  ", 1, true);
    EXPECT_EQ(texts.Repaints(), 1);
    texts.SetText("Short", 1, true);
    ASSERT_EQ(seen.window.size(), 2u);
    EXPECT_TRUE(seen.window[1].contains(wide));  // the old, wider text is painted over
    EXPECT_LT(texts.Rect(0).width(), wide.width());
    texts.SetText("In the dialog", kDialogTextNumber, true);
    EXPECT_EQ(seen.dialog.size(), 1u);
    EXPECT_EQ(seen.window.size(), 2u);
}

TEST(TextMsg, MinusOneSetsEveryStatusLabelOnlyAndOtherScreensDoNotRepaint) {
    Repaints seen;
    TTextMsg texts({label(1, "StatusLine"), label(2, "title"), label(3, "statusline", 1)}, seen.Host());
    texts.SetText("Copied", kAllStatusTexts, true);
    EXPECT_EQ(texts.Text(0), "Copied");
    EXPECT_EQ(texts.Text(1), "");
    EXPECT_EQ(texts.Text(2), "Copied");
    EXPECT_EQ(seen.window.size(), 1u);  // the label of screen 1 is stored, not painted
}

TEST(StatusLine, BlinksTwentyTimesAndEndsHidden) {
    Repaints seen;
    TTextMsg texts({label(1, "statusline")}, seen.Host());
    TStatusLine status(&texts);
    status.ShowStatus("Saved");
    EXPECT_EQ(texts.Text(0), "Saved");
    EXPECT_TRUE(status.Blinking());
    int shown = 0;
    for (int tick = 1; tick <= 39; ++tick) {
        status.Tick();
        EXPECT_EQ(texts.Text(0), tick % 2 == 1 ? "" : "Saved") << tick;
        shown += texts.Text(0) == "Saved";
    }
    EXPECT_EQ(shown, 19);
    EXPECT_TRUE(status.Blinking());
    status.Tick();
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(texts.Text(0), "");
    status.ShowStatus("Again");
    status.ClearStatus();
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(texts.Text(0), "");
}

TEST(StatusLine, RunsWithoutStatusLabelsOnTheScreenButNotWithoutLabels) {
    Repaints seen;
    TTextMsg texts({label(1, "title")}, seen.Host());
    TStatusLine status(&texts);
    status.ShowStatus("Saved");
    EXPECT_TRUE(status.Blinking());
    TStatusLine none(nullptr);
    none.ShowStatus("Saved");
    EXPECT_FALSE(none.Blinking());
}

namespace {

RPathInput pathInput(int screen, const std::string& def) {
    RPathInput p;
    p.left = 5;
    p.top = 5;
    p.right = 205;
    p.bottom = 25;
    p.pathDef = def;
    p.screen = screen;
    return p;
}

RPathHost pathHost(QWidget* window, const std::string& title) {
    RPathHost host;
    host.window = window;
    host.appTitle = title;
    host.toHost = [](const std::string& win) { return win.rfind("c:\\", 0) == 0 ? "/home/u/c/" + win.substr(3) : win; };
    host.toWindows = [](const std::string& typed) { return "c:\\" + typed.substr(10); };
    return host;
}

}  // namespace

TEST(PathInputBox, EmptyStoredValueGivesDefaultAndTextsAreWrittenAtTheEnd) {
    QWidget window;
    {
        TSettingsStore store("PathTitle");
        store.WriteString("PathInstall0", "");
        store.WriteString("PathInstall1", "d:\\Stored");
    }
    {
        TPathInputBox box({pathInput(0, "c:\\Games"), pathInput(0, "c:\\Other")}, pathHost(&window, "PathTitle"));
        EXPECT_EQ(box.Edit(0)->text(), "/home/u/c/Games");  // the user sees the host folder
        EXPECT_EQ(box.Edit(1)->text(), "d:\\Stored");
        EXPECT_EQ(box.Edit(0)->geometry(), QRect(5, 5, 200, 20));
        box.Edit(1)->setText("/home/u/c/Typed");
    }
    std::string value;
    TSettingsStore store("PathTitle");
    ASSERT_TRUE(store.ReadString("PathInstall1", value));
    EXPECT_EQ(value, "c:\\Typed");  // stored in the Windows form
    ASSERT_TRUE(store.ReadString("PathInstall0", value));
    EXPECT_EQ(value, "c:\\Games");
}

TEST(PathInputBox, CurrentPathIsTheFirstInputOfTheScreenOrEmpty) {
    QWidget window;
    TPathInputBox box({pathInput(1, "c:\\One"), pathInput(1, "c:\\Two"), pathInput(2, "d:\\x\\")},
                      pathHost(&window, "PathTitle2"));
    box.ShowPaths(0);
    EXPECT_EQ(box.CurrentPath(), "");
    box.ShowPaths(1);
    EXPECT_EQ(box.CurrentPath(), "c:\\One\\");
    EXPECT_FALSE(box.Edit(0)->isHidden());
    box.ShowPaths(1);  // the same screen again keeps its inputs
    EXPECT_FALSE(box.Edit(1)->isHidden());
    box.ShowPaths(2);
    EXPECT_TRUE(box.Edit(0)->isHidden());
    EXPECT_EQ(box.CurrentPath(), "d:\\x\\");
    box.Edit(2)->setText("");
    EXPECT_EQ(box.CurrentPath(), "");  // an emptied field is no drive root
    box.HidePaths(true);
    EXPECT_TRUE(box.Edit(2)->isHidden());
    box.HidePaths(false);
    EXPECT_FALSE(box.Edit(2)->isHidden());
}

TEST(ScaleBar, DrawsOnItsScreenOnlyAndStopsAtTheFullPictureWidth) {
    std::vector<std::pair<QPoint, QSize>> drawn;
    bool dialog = true;
    RScaleHost host{[](const std::string& name) {
                        QImage image(name == "status_dn.bmp" ? 3 : 4, 6, QImage::Format_RGB32);
                        image.fill(Qt::red);
                        return image;
                    },
                    [&] { return dialog; },
                    [&](QPoint at, const QImage& picture) { drawn.emplace_back(at, picture.size()); }};
    TScaleBar bar(host);
    bar.StepBar();  // no screen seen yet: only the position moves
    EXPECT_TRUE(drawn.empty());
    bar.ShowBar(TScaleBar::kScreen);
    ASSERT_EQ(drawn.size(), 1u);  // the empty bar, reset
    EXPECT_EQ(drawn[0], std::make_pair(QPoint(33, 75), QSize(4, 6)));
    for (int i = 0; i < 5; ++i) bar.StepBar();
    ASSERT_EQ(drawn.size(), 4u);  // three columns, then nothing past the picture
    EXPECT_EQ(drawn[3], std::make_pair(QPoint(35, 75), QSize(1, 6)));
    EXPECT_EQ(bar.Position(), 38);
    bar.ShowBar(0);
    bar.ResetBar();
    bar.StepBar();
    EXPECT_EQ(drawn.size(), 4u);
    EXPECT_EQ(bar.Position(), 34);
}
