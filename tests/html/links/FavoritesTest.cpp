// Favourites kept in the settings store between runs, and the history and favourite popup items.
#include "html/Favorites.h"

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string W(const char* utf8) { return Cp1251::fromUtf8(utf8); }

struct TPopup : IFavoritePopup {
    std::vector<std::string> log;
    void AddItem(const std::string& caption, const std::string& command) override {
        log.push_back("add " + caption + " " + command);
    }
    void SetItem(int index, const std::string& caption, const std::string& command) override {
        log.push_back("set " + std::to_string(index) + " " + caption + " " + command);
    }
};

class FavoritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int run = 0;
        title_ = W("Книга ") + std::to_string(++run);  // a fresh settings key for each test
    }
    std::string Stored(int i) const {
        std::string value;
        return TSettingsStore(title_).ReadString("Favorite" + std::to_string(i), value) ? value : "(none)";
    }
    bool Exists(int i) const { return TSettingsStore(title_).ValueExists("Favorite" + std::to_string(i)); }
    void Store(int i, const std::string& value) { TSettingsStore(title_).WriteString("Favorite" + std::to_string(i), value); }

    std::string title_;
};

std::string Page(int i) { return "d:\\run\\p" + std::to_string(i) + ".htm"; }

TEST_F(FavoritesTest, TheTenNewestSurviveARestartInAgeOrder) {
    {
        THtmlFavorite favorites(title_);
        TPopup popup;
        favorites.Load(&popup);
        for (int i = 0; i < 10; ++i) EXPECT_TRUE(favorites.Add(W("Стр ") + std::to_string(i), Page(i), i * 10, &popup));
        EXPECT_EQ(popup.log.size(), 10u);
        EXPECT_EQ(popup.log[0], W("add Стр 0 htmlpos=") + Page(0) + "=0");

        // The same title in another case is refused; the eleventh drops the oldest.
        EXPECT_FALSE(favorites.Add(W("сТР 3"), Page(99), 0, &popup));
        popup.log.clear();
        EXPECT_TRUE(favorites.Add(W("Стр 10"), Page(10), 100, &popup));
        ASSERT_EQ(popup.log.size(), 10u);
        EXPECT_EQ(popup.log[0], W("set 0 Стр 1 htmlpos=") + Page(1) + "=10");
        EXPECT_EQ(popup.log[9], W("set 9 Стр 10 htmlpos=") + Page(10) + "=100");
    }  // written at the end
    EXPECT_EQ(Stored(0), W("{Стр 1}htmlpos=") + Page(1) + "=10");
    EXPECT_EQ(Stored(9), W("{Стр 10}htmlpos=") + Page(10) + "=100");

    THtmlFavorite again(title_);
    TPopup popup;
    again.Load(&popup);
    ASSERT_EQ(again.Items().size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(again.Items()[i].caption, W("Стр ") + std::to_string(i + 1));
        EXPECT_EQ(popup.log[i], "add " + again.Items()[i].caption + " " + again.Items()[i].target);
    }
}

TEST_F(FavoritesTest, DeletingTheOnlyFavoriteRemovesEveryValue) {
    Store(0, "{A}htmlpos=" + Page(0) + "=5");
    Store(7, "{B}htmlpos=" + Page(7) + "=5");  // a gap closes on the next write
    {
        THtmlFavorite favorites(title_);
        favorites.Load(nullptr);
        ASSERT_EQ(favorites.Items().size(), 2u);
        favorites.Delete(5);  // past the end: nothing
        favorites.Delete(0);
        ASSERT_EQ(favorites.Items().size(), 1u);
        EXPECT_EQ(favorites.Items()[0].caption, "B");
        favorites.Save();
        EXPECT_EQ(Stored(0), "{B}htmlpos=" + Page(7) + "=5");
        EXPECT_FALSE(Exists(7));
        favorites.Delete(0);
    }
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(Exists(i)) << i;

    // A list that was never read leaves the stored one alone.
    Store(0, "{A}x");
    {
        THtmlFavorite unread(title_);
        unread.Add("B", Page(1), 0, nullptr);
        unread.Save();
    }
    EXPECT_EQ(Stored(0), "{A}x");
}

TEST_F(FavoritesTest, StoredValuesWithoutBracesOrWithBracesInTheTitle) {
    const std::pair<std::string, RFavoriteCaption> cases[] = {
        {"htmlpos=d:\\a.htm=5", {"", "htmlpos=d:\\a.htm=5"}},     // no braces: all target
        {"Title}htmlpos=d:\\a.htm=5", {"Title", "htmlpos=d:\\a.htm=5"}},
        {"{Title htmlpos=d:\\a.htm=5", {"", "{Title htmlpos=d:\\a.htm=5"}},
        {"{a}b}htmlpos=d:\\a.htm=5", {"a}b", "htmlpos=d:\\a.htm=5"}},  // the target's start decides
        {"{}", {"", ""}},
    };
    for (const auto& [value, expected] : cases) {
        const RFavoriteCaption got = THtmlFavorite::Decode(value);
        EXPECT_EQ(got.caption, expected.caption) << value;
        EXPECT_EQ(got.target, expected.target) << value;
    }
    const RFavoriteCaption braced{W("Схема {1}"), "htmlpos=d:\\s.htm=0"};
    const RFavoriteCaption back = THtmlFavorite::Decode(THtmlFavorite::Encode(braced));
    EXPECT_EQ(back.caption, braced.caption);
    EXPECT_EQ(back.target, braced.target);
}

struct THistory : IHistoryHost {
    std::vector<std::string> log;
    void GoToHistoryIndex(int index) override { log.push_back("history " + std::to_string(index)); }
    void OpenInCurrentView(const std::string& file) override { log.push_back("open " + file); }
    void SetScrollPosition(int pixels) override { log.push_back("scroll " + std::to_string(pixels)); }
    void SyncTreeToPage(const std::string& file) override { log.push_back("sync " + file); }
};

TEST(HistoryCommands, ItemsOpenScrollAndSyncTheTrees) {
    SetCdRoot("d:\\");
    SetProgramDir("d:\\run\\");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"history=3", {"history 3", "sync "}},
        {"htmlpos=d:\\run\\a.htm=120", {"open d:\\run\\a.htm", "scroll 120", "sync "}},
        {"htmlpos=<cd>b.htm", {"open d:\\b.htm", "sync "}},
        {"HTML=pages\\c.htm", {"open d:\\run\\pages\\c.htm", "sync "}},
        {"history=x", {}},
    };
    for (const auto& [command, expected] : cases) {
        THistory host;
        EXPECT_TRUE(RunHistoryCommand(host, command)) << command;
        EXPECT_EQ(host.log, expected) << command;
    }
    for (const char* other : {"html1=a.htm", "historyback", "screen2=x", "addtofavorite"}) {
        THistory host;
        EXPECT_FALSE(RunHistoryCommand(host, other)) << other;
        EXPECT_TRUE(host.log.empty()) << other;
    }
}

} // namespace

// A second process of the book reads the list at its start; when it ends it must not write that
// old copy over what the main window added meanwhile.
TEST_F(FavoritesTest, AnUnchangedCopyNeverWritesOverANewerList) {
    Store(0, "{Old}htmlpos=d:\\run\\old.htm=0");
    THtmlFavorite main(title_), other(title_);
    main.Load(nullptr);
    other.Load(nullptr);
    ASSERT_TRUE(main.Add("New", "d:\\run\\new.htm", 5, nullptr));
    main.Save();
    other.Save();
    EXPECT_EQ(Stored(1), "{New}htmlpos=d:\\run\\new.htm=5");
    // A change made after a save is written again.
    main.Delete(0);
    main.Save();
    EXPECT_EQ(Stored(0), "{New}htmlpos=d:\\run\\new.htm=5");
    EXPECT_FALSE(Exists(1));
}
