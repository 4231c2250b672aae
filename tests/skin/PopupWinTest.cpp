// The skin's popups as the user meets them: captions and hints, the column and its background,
// where a popup opens, the slide, choosing, delete mode, rebuilding per screen, and the pictures
// and outlines a disc may get wrong.
#include "skin/PopupWin.h"
#include "skin/SkinFont.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QToolTip>

#include <map>

#include "platform/QtText.h"
#include "support/IdlePopupHost.h"
#include "support/Wait.h"

namespace {

QImage Solid(QRgb colour, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// A background whose rows tell where they came from: top part, middle row, bottom band of 5.
QImage Banded(int width, int height) {
    QImage picture = Solid(qRgb(0, 0, 255), width, height);
    for (int x = 0; x < width; ++x) {
        picture.setPixel(x, height / 2, qRgb(0, 255, 0));
        for (int y = height - 5; y < height; ++y) picture.setPixel(x, y, qRgb(255, 0, 0));
    }
    return picture;
}

const QRgb kTop = qRgb(0, 0, 255), kMiddle = qRgb(0, 255, 0), kBand = qRgb(255, 0, 0);
const char* const kFont = "DejaVu Sans";

RPopupData Menu(int type, TDynamicStringArray captions, TDynamicStringArray commands = {}) {
    RPopupData p;
    p.backgroundX = p.backgroundY = -1;
    p.backgroundPicture = "back.bmp";
    p.itemLeft = 10;
    p.itemMargin = -1;
    p.itemPicturesUp = {"item.bmp"};
    p.itemPicturesMove = {"hover.bmp"};
    p.itemPicturesDown = {"down.bmp"};
    p.fontUp = p.fontMove = kFont;
    p.sizeUp = p.sizeMove = 10;
    p.colorUp = 0x0000FF;    // red
    p.colorMove = 0xFF0000;  // blue
    p.type = type;
    p.captions = std::move(captions);
    p.commands = std::move(commands);
    return p;
}

class PopupWinTest : public ::testing::Test, public TIdlePopupHost {
protected:
    QImage LoadPicture(const std::string& name) override {
        const auto it = pictures_.find(name);
        return it == pictures_.end() ? QImage() : it->second;
    }
    QPoint ClientToScreen(QPoint p) override { return p + QPoint(100, 200); }
    QRect Desktop() override { return QRect(0, 0, 800, 600); }
    int CurrentScreen() const override { return screen_; }
    bool AnimationOffered() override { return animation_; }
    void Choose(const std::string& command) override {
        chosen_.push_back(command);
        visibleWhenChosen_ = popups_->AnyVisible();
    }
    void FavoriteDeleted(int index) override { deleted_.push_back(index); }
    void FavoritesBuilt() override { ++favoritesBuilt_; }
    qint64 Now() override { return now_; }
    QPoint Cursor() override { return cursor_; }

    void Build(std::vector<std::vector<RPopupData>> screens, int screen = 0) {
        elements_.ScreenPopups = std::move(screens);
        screen_ = screen;
        popups_ = std::make_unique<TControlPopupWindow>(elements_, *this, nullptr);
        popups_->Rebuild();
    }
    TPopupWindow& Popup(int type) {
        TPopupWindow* popup = popups_->Popup(type);
        EXPECT_NE(popup, nullptr);
        return *popup;
    }
    void Click(int type, int item) {
        TPopupWindow& popup = Popup(type);
        const QPoint at = popup.Item(item).Rect().center();
        popup.PointerMove(at);
        popup.PointerDown(at);
    }

    std::map<std::string, QImage> pictures_ = {{"back.bmp", Banded(120, 40)},
                                               {"item.bmp", Solid(qRgb(255, 255, 255), 100, 20)},
                                               {"hover.bmp", Solid(qRgb(255, 255, 255), 100, 20)},
                                               {"down.bmp", Solid(qRgb(200, 200, 200), 100, 20)}};
    TInterfaceDescription elements_;
    std::unique_ptr<TControlPopupWindow> popups_;
    int screen_ = 0;
    bool animation_ = true;
    qint64 now_ = 1000;
    QPoint cursor_{0, 0};
    std::vector<std::string> chosen_;
    std::vector<int> deleted_;
    int favoritesBuilt_ = 0;
    bool visibleWhenChosen_ = true;
};

bool HasColour(const QImage& picture, QRgb colour) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour) return true;
    return false;
}

TEST_F(PopupWinTest, CaptionsFitWithFourteenSparePixelsOrAreShortenedAndHinted) {
    const QFontMetrics metrics(SkinFont(kFont, 10, ""));
    const int width = metrics.horizontalAdvance(QStringLiteral("Menu"));
    pictures_["fit14.bmp"] = Solid(qRgb(255, 255, 255), width + 14, 20);
    pictures_["fit15.bmp"] = Solid(qRgb(255, 255, 255), width + 15, 20);
    pictures_["narrow.bmp"] = Solid(qRgb(255, 255, 255), 60, 20);
    const std::string longCaption = "A caption far too long for its item";
    RPopupData menu = Menu(1, {"Menu", "Menu", longCaption, "Menu"});
    menu.itemPicturesUp = menu.itemPicturesMove = menu.itemPicturesDown = {"fit14.bmp", "fit15.bmp", "d:\\art\\narrow.bmp"};
    Build({{menu}});
    const TPopupWindow& popup = Popup(1);
    ASSERT_EQ(popup.ItemCount(), 4);

    EXPECT_EQ(popup.Item(0).Hint(), QStringLiteral("Menu"));  // 14 spare pixels are not enough
    EXPECT_TRUE(popup.Item(1).Hint().isEmpty());
    EXPECT_EQ(popup.Item(1).DrawnText(), QStringLiteral("Menu"));

    // Shortened to fit between the 7-pixel margins, measured with the normal font; the path of
    // the picture name does not matter.
    const TItemsBtn& shortened = popup.Item(2);
    EXPECT_EQ(shortened.Size(), QSize(60, 20));
    EXPECT_TRUE(shortened.DrawnText().endsWith(QStringLiteral("...")));
    EXPECT_LE(metrics.horizontalAdvance(shortened.DrawnText()), 60 - 14);
    const QString oneMore = ToQt(longCaption).left(shortened.DrawnText().size() - 2) + "...";
    EXPECT_GT(metrics.horizontalAdvance(oneMore), 60 - 14);  // as much as fits is kept
    EXPECT_EQ(shortened.Hint(), ToQt(longCaption));

    // Item 3 lies beyond the picture list and takes its first entry.
    EXPECT_EQ(popup.Item(3).Size(), popup.Item(0).Size());

    // The normal look has the normal colour, the hover and pressed looks the hover colour.
    EXPECT_TRUE(HasColour(popup.Item(1).Picture(0), qRgb(255, 0, 0)));
    EXPECT_FALSE(HasColour(popup.Item(1).Picture(0), qRgb(0, 0, 255)));
    EXPECT_TRUE(HasColour(popup.Item(1).Picture(1), qRgb(0, 0, 255)));
    EXPECT_TRUE(HasColour(popup.Item(1).Picture(2), qRgb(0, 0, 255)));
}

TEST_F(PopupWinTest, ItemsStackBetweenMarginsAndTheBackgroundFollows) {
    Build({{Menu(1, {"a", "b", "c"}), Menu(2, {"a"})}});
    const TPopupWindow& three = Popup(1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(three.Item(i).Rect(), QRect(10, 5 + 20 * i, 100, 20));
    ASSERT_EQ(three.Background().size(), QSize(120, 70));
    EXPECT_EQ(three.size(), QSize(120, 70));
    EXPECT_EQ(three.Background().pixel(0, 0), kTop);
    EXPECT_EQ(three.Background().pixel(0, 50), kMiddle);  // grown: the middle row repeats
    EXPECT_EQ(three.Background().pixel(0, 64), kMiddle);
    EXPECT_EQ(three.Background().pixel(0, 65), kBand);    // the bottom band moved down
    EXPECT_EQ(three.Background().pixel(0, 69), kBand);

    const TPopupWindow& one = Popup(2);  // cut: 20 + 2 * 5
    ASSERT_EQ(one.Background().size(), QSize(120, 30));
    EXPECT_EQ(one.Background().pixel(0, 24), kTop);
    EXPECT_EQ(one.Background().pixel(0, 25), kBand);
}

TEST_F(PopupWinTest, HistoryListsStartWithEightHiddenItemsAndStackOnlyShownOnes) {
    RPopupData back = Menu(kPopupHistoryBack, {"ignored"});
    back.itemLeft = -1;  // centred
    Build({{back, Menu(kPopupHistoryForward, {}), Menu(kPopupFavorite, {"ignored"})}});
    EXPECT_EQ(Popup(kPopupHistoryBack).ItemCount(), 8);
    EXPECT_EQ(Popup(kPopupHistoryForward).ItemCount(), 8);
    EXPECT_EQ(Popup(kPopupFavorite).ItemCount(), 0);
    EXPECT_EQ(favoritesBuilt_, 1);
    EXPECT_FALSE(Popup(kPopupHistoryBack).AnyItemVisible());

    popups_->SetItem("older", "history=2", 2, kPopupHistoryBack);
    popups_->ShowItem(true, kPopupHistoryBack, 2);
    popups_->SetItem("newest", "history=1", 0, kPopupHistoryBack);
    popups_->ShowItem(true, kPopupHistoryBack, 0);
    popups_->SetItem("x", "history=9", 12, kPopupHistoryBack);  // no such item: nothing
    const TPopupWindow& popup = Popup(kPopupHistoryBack);
    EXPECT_EQ(popup.Item(0).Rect(), QRect(10, 5, 100, 20));
    EXPECT_EQ(popup.Item(2).Rect(), QRect(10, 25, 100, 20));
    EXPECT_EQ(popup.size().height(), 50);
    EXPECT_EQ(popup.Item(2).command, "history=2");

    popups_->ShowItem(false, kPopupHistoryBack, 0);  // the rest moves up
    EXPECT_EQ(popup.Item(2).Rect().top(), 5);
}

TEST_F(PopupWinTest, WherePopupsOpen) {
    RPopupData fixed = Menu(3, {"a"});
    fixed.backgroundX = 10;  // x from the main window, y from the point
    Build({{Menu(kPopupHistoryBack, {}), Menu(1, {"a", "b"}), fixed, Menu(kPopupFavorite, {})}});
    popups_->SetItem("page", "history=1", 0, kPopupHistoryBack);
    popups_->ShowItem(true, kPopupHistoryBack, 0);

    popups_->ShowPopup(kPopupHistoryBack, QPoint(400, 100));
    EXPECT_EQ(Popup(kPopupHistoryBack).pos(), QPoint(400 - 120, 100));  // right edge at the point
    popups_->ShowPopup(1, QPoint(400, 100));
    EXPECT_EQ(Popup(1).pos(), QPoint(400, 100));
    popups_->ShowPopup(3, QPoint(400, 100));
    EXPECT_EQ(Popup(3).pos(), QPoint(110, 100));

    // Kept on the desktop: moved up and left to end at its edges, never above or left of it.
    popups_->ShowPopup(1, QPoint(790, 590));
    EXPECT_EQ(Popup(1).pos(), QPoint(800 - 120, 600 - 50));
    popups_->ShowPopup(1, QPoint(-30, -40));
    EXPECT_EQ(Popup(1).pos(), QPoint(0, 0));
    EXPECT_TRUE(Popup(1).isVisible());

    popups_->HideAll();
    EXPECT_FALSE(popups_->AnyVisible());
    popups_->ShowPopup(kPopupFavorite, QPoint(0, 0));  // no item: it stays hidden
    popups_->ShowPopup(9, QPoint(0, 0));                // no such popup
    EXPECT_FALSE(popups_->AnyVisible());
}

TEST_F(PopupWinTest, SlidesOpenOnlyOnScreenOneWithAnimationAndNotTwiceWithin250Ms) {
    Build({{}, {Menu(1, {"a"})}}, 1);
    TPopupWindow& popup = Popup(1);
    popups_->ShowPopup(1, QPoint(10, 10));
    EXPECT_TRUE(popup.SlideRan());
    popups_->HideAll();
    now_ += 250;
    popups_->ShowPopup(1, QPoint(10, 10));
    EXPECT_FALSE(popup.SlideRan());
    now_ += 251;
    popups_->ShowPopup(1, QPoint(10, 10));
    EXPECT_TRUE(popup.SlideRan());
    now_ += 1000;
    animation_ = false;
    popups_->ShowPopup(1, QPoint(10, 10));
    EXPECT_FALSE(popup.SlideRan());
}

TEST_F(PopupWinTest, ChoosingHidesThePopupBeforeTheCommandRuns) {
    Build({{Menu(1, {"one", "two"}, {"html=a.htm", "screen2"})}});
    popups_->ShowPopup(1, QPoint(50, 50));
    TPopupWindow& popup = Popup(1);
    const QPoint second = popup.Item(1).Rect().center();
    popup.PointerMove(second);
    EXPECT_TRUE(popup.Item(1).hover);
    EXPECT_FALSE(popup.Item(0).hover);
    popup.PointerMove(QPoint(0, 0));
    EXPECT_FALSE(popup.Item(1).hover);
    popup.PointerDown(QPoint(0, 0));  // outside every item: nothing
    EXPECT_TRUE(chosen_.empty());

    Click(1, 1);
    EXPECT_EQ(chosen_, std::vector<std::string>{"screen2"});
    EXPECT_FALSE(visibleWhenChosen_);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.Item(1).hover);
    EXPECT_FALSE(popup.Item(1).pressed);
}

TEST_F(PopupWinTest, APopupPutsHintsAwayAndLosesItsHoverWhenThePointerLeaves) {
    Build({{Menu(1, {"first", "second"})}});
    QWidget page;
    page.show();
    QToolTip::showText(QPoint(60, 60), QStringLiteral("a picture's hint"), &page);
    ASSERT_TRUE(QToolTip::isVisible());
    popups_->ShowPopup(1, QPoint(50, 50));
    TPopupWindow& popup = Popup(1);
    EXPECT_TRUE(WaitUntil([] { return !QToolTip::isVisible(); }, 2000));  // the hint fades out
    popup.PointerMove(popup.Item(1).Rect().center());
    ASSERT_TRUE(popup.Item(1).hover);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&popup, &leave);
    EXPECT_FALSE(popup.Item(1).hover);
}

TEST_F(PopupWinTest, DeleteModeRemovesFavouritesUntilNoneIsLeft) {
    Build({{Menu(kPopupFavorite, {})}});
    for (const char* name : {"first", "second", "third"}) popups_->AddItem(name, std::string("htmlpos=") + name + "=0", -3);
    popups_->ShowPopup(-4, QPoint(50, 50));
    TPopupWindow& popup = Popup(kPopupFavorite);
    ASSERT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.DeleteMode());

    Click(-3, 0);
    ASSERT_EQ(popup.ItemCount(), 2);
    EXPECT_EQ(popup.Item(0).Caption(), "second");
    EXPECT_EQ(popup.Item(0).command, "htmlpos=second=0");
    EXPECT_EQ(popup.Item(1).Caption(), "third");
    EXPECT_EQ(popup.size().height(), 50);
    EXPECT_TRUE(popup.isVisible());
    popup.PointerDown(popup.Item(0).Rect().center());  // a second press in the same place, no move
    ASSERT_EQ(popup.ItemCount(), 1);
    EXPECT_EQ(popup.Item(0).Caption(), "third");
    Click(-3, 0);
    EXPECT_EQ(deleted_, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(popup.ItemCount(), 0);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(chosen_.empty());

    // Delete mode ends with the popup: shown as the favourites again, a click chooses.
    popups_->AddItem("again", "htmlpos=again=0", -3);
    popups_->ShowPopup(-3, QPoint(50, 50));
    EXPECT_FALSE(popup.DeleteMode());
    Click(-3, 0);
    EXPECT_EQ(chosen_, std::vector<std::string>{"htmlpos=again=0"});
}

TEST_F(PopupWinTest, RebuildFollowsTheScreenUnlessNoLaterScreenHasPopups) {
    Build({{Menu(1, {"a"})}, {}, {Menu(2, {"b"})}});
    EXPECT_NE(popups_->Popup(1), nullptr);
    screen_ = 3;  // no popups here or beyond: the previous ones stay
    popups_->Rebuild();
    EXPECT_NE(popups_->Popup(1), nullptr);
    screen_ = 1;  // none here, but a later screen has some
    popups_->Rebuild();
    EXPECT_EQ(popups_->PopupCount(), 0);
    screen_ = 2;
    popups_->Rebuild();
    EXPECT_EQ(popups_->Popup(1), nullptr);
    EXPECT_NE(popups_->Popup(2), nullptr);
}

TEST_F(PopupWinTest, MissingPicturesAndNarrowItemsNeitherHangNorCrash) {
    RPopupData menu = Menu(1, {"a caption"});
    menu.backgroundPicture = "missing.bmp";
    menu.itemPicturesUp = {"missing.bmp", "tiny.bmp"};
    pictures_["tiny.bmp"] = Solid(qRgb(255, 255, 255), 10, 20);
    Build({{menu}});
    popups_->AddItem("another caption", "x", 1);
    TPopupWindow& popup = Popup(1);
    EXPECT_EQ(popup.Item(0).Size(), QSize(0, 0));
    EXPECT_EQ(popup.Item(0).DrawnText(), QStringLiteral("..."));
    EXPECT_EQ(popup.Item(1).DrawnText(), QStringLiteral("..."));  // narrower than 14 + "..."
    EXPECT_TRUE(popup.Background().isNull());
    popups_->ShowPopup(1, QPoint(5, 5));
    EXPECT_TRUE(popup.isVisible());
    popup.grab();  // paints
}

TEST_F(PopupWinTest, OutlinesNeedThreeValidPoints) {
    RPopupData two = Menu(1, {"a"});
    two.vertex = {"0,0", "50,50"};
    RPopupData bad = Menu(2, {"a"});
    bad.vertex = {"0,0", "x,1", "100,0", "100,60"};
    Build({{two, bad}});
    EXPECT_FALSE(Popup(1).HasOutline());
    EXPECT_EQ(Popup(1).size().height(), 30);  // without an outline the height follows the items
    EXPECT_TRUE(Popup(2).HasOutline());
    EXPECT_EQ(Popup(2).size().height(), 40);  // with one it keeps the picture's

    popups_->ShowPopup(1, QPoint(0, 0));
    EXPECT_TRUE(Popup(1).mask().isEmpty());
    popups_->ShowPopup(2, QPoint(0, 0));
    const QRegion shape = Popup(2).mask();
    EXPECT_TRUE(shape.contains(QPoint(90, 20)));
    EXPECT_FALSE(shape.contains(QPoint(10, 30)));
}

TEST_F(PopupWinTest, AMarginBeyondThePictureKeepsTheBandInside) {
    RPopupData menu = Menu(1, {"a"});
    menu.itemMargin = 10;
    QImage rows(120, 6, QImage::Format_RGB32);  // every row its own colour
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 120; ++x) rows.setPixel(x, y, qRgb(40 * y, 0, 0));
    pictures_["back.bmp"] = rows;
    Build({{menu}});
    const QImage& back = Popup(1).Background();
    ASSERT_EQ(back.size(), QSize(120, 40));
    EXPECT_EQ(back.pixel(0, 0), qRgb(120, 0, 0));  // the middle row fills the top
    EXPECT_EQ(back.pixel(0, 33), qRgb(120, 0, 0));
    for (int y = 0; y < 6; ++y) EXPECT_EQ(back.pixel(0, 34 + y), qRgb(40 * y, 0, 0));  // the whole picture is the band
}

} // namespace
