#include <gtest/gtest.h>

#include <vector>

#include "base/GlobalPaths.h"
#include "rules/CommandDispatcher.h"

namespace {

// Records every call as one line of text.
class Recorder : public ICommandTarget {
public:
    std::vector<std::string> calls;
    bool busy = false, popups = true, pages = true, thesaurus = false, sounds = true;
    int screens = 3;

    bool Busy() const override { return busy; }
    bool ButtonSoundsOn() const override { return sounds; }
    int ScreenCount() const override { return screens; }
    bool HasPopupWindow() const override { return popups; }
    bool HasPageFrame() const override { return pages; }
    bool InThesaurusWindow() const override { return thesaurus; }

    void CloseMainWindow(int b) override { add("close " + std::to_string(b)); }
    void PlaySound(const std::string& f) override { add("sound " + f); }
    void SelectTreePage(const std::string& p) override { add("tree page " + p); }
    void SwitchScreen(int t, int i, int k) override { add("screen " + std::to_string(t) + " from " + std::to_string(i) + "/" + std::to_string(k)); }
    void StopSearchAndCloseDialog() override { add("stop search"); }
    void Clip3D() override { add("3d"); }
    void RunFile(const std::string& f, const std::string& p) override { add("run " + f + " " + p); }
    void Minimize(int i, int k) override { add("minimize " + std::to_string(i) + "/" + std::to_string(k)); }
    void ShowTree(int f) override { add("show tree " + std::to_string(f)); }
    void SetTreesOn(bool on) override { add(on ? "trees on" : "trees off"); }
    void OpenPopupList(int l, int b) override { add("popup " + std::to_string(l) + " at " + std::to_string(b)); }
    void OpenContextMenu(int n) override { add("context " + std::to_string(n)); }
    void Back() override { add("back"); }
    void OpenHtml(const std::string& f, int v) override { add("html " + f + " in " + std::to_string(v)); }
    void NextChapter() override { add("next chapter"); }
    void FindNext(int n) override { add("find box " + std::to_string(n)); }
    void OpenFindDialog() override { add("find dialog"); }
    void ToggleBackgroundSound() override { add("bgsound"); }
    void PlayClip(const std::string& f, const std::string& p) override { add("clip " + f + " " + p); }
    void DeleteGame(const std::string& n) override { add("delgame " + n); }

private:
    void add(std::string s) { calls.push_back(std::move(s)); }
};

using Calls = std::vector<std::string>;

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDir("d:\\run\\");
        SetCdRoot("d:\\");
    }
    Calls Run(const std::string& command, const std::string& sound = "", int index = 0, int kind = ekButton,
              bool startup = false) {
        t.calls.clear();
        ExecuteCommand(t, command, sound, index, kind, startup);
        return t.calls;
    }
    Recorder t;
};

} // namespace

TEST_F(Dispatcher, SoundsPlayFirstExceptForExitReplaysAndKeys) {
    EXPECT_EQ(Run("nextchapter", "click.wav"), (Calls{"sound d:\\run\\click.wav", "next chapter"}));
    EXPECT_EQ(Run("nextchapter", "click.wav", 0, ekButton, true), Calls{"next chapter"});  // keys and replays
    EXPECT_EQ(Run("nextchapter", "no"), Calls{"next chapter"});
    EXPECT_EQ(Run("exit", "bye.wav", 4), Calls{"close 4"});  // the exit sound plays at shutdown
    EXPECT_EQ(Run("exit", "bye.wav", 4, ekSwitchOne), Calls{"close -1"});
    EXPECT_EQ(Run("unknown", "click.wav"), Calls{"sound d:\\run\\click.wav"});
    t.sounds = false;
    EXPECT_EQ(Run("nextchapter", "click.wav"), Calls{"next chapter"});
    t.busy = true;
    EXPECT_TRUE(Run("exit").empty());
}

TEST_F(Dispatcher, ScreenCommandsAndTheNumberRule) {
    EXPECT_EQ(Run("screen2=html\\a.htm", "", 3, ekButton), (Calls{"tree page d:\\run\\html\\a.htm", "screen 1 from 3/0"}));
    EXPECT_EQ(Run("3"), (Calls{"stop search", "screen 2 from 0/0"}));
    EXPECT_EQ(Run("screen2"), (Calls{"stop search", "screen 1 from 0/0"}));  // no "=": the number rule
    t.screens = 2;
    EXPECT_TRUE(Run("3").empty());
    EXPECT_TRUE(Run("0").empty());
    EXPECT_TRUE(Run("screen9=a.htm").empty());  // never a screen that does not exist
    EXPECT_TRUE(Run("screen=a.htm").empty());
    EXPECT_TRUE(Run("run").empty());            // "run" without "=" falls through to the number rule
    EXPECT_EQ(Run("run=setup.exe=/s"), Calls{"run d:\\run\\setup.exe /s"});
}

TEST_F(Dispatcher, SubstringStepsComeBeforePages) {
    EXPECT_EQ(Run("html1=tree1\\page.htm"), Calls{"show tree 2"});  // "tree1" anywhere wins
    EXPECT_EQ(Run("tree2"), Calls{"show tree 1"});
    EXPECT_EQ(Run("offtree"), Calls{"trees off"});
    EXPECT_EQ(Run("html1=page.htm"), Calls{"html d:\\run\\page.htm in 1"});
    EXPECT_EQ(Run("html=page12.htm"), Calls{"html d:\\run\\page12.htm in 12"});  // the view number comes from the page name
    EXPECT_EQ(Run("html=page.htm"), Calls{"html d:\\run\\page.htm in -1"});
    EXPECT_EQ(Run("clip=<cd>video\\a.avi=p.htm"), Calls{"clip d:\\video\\a.avi d:\\run\\p.htm"});
    EXPECT_EQ(Run("delgame=chess"), Calls{"delgame chess"});
}

TEST_F(Dispatcher, PopupsOpenOnlyFromButtonsWhenThePopupWindowExists) {
    EXPECT_EQ(Run("historyback", "", 2), Calls{"popup -1 at 2"});
    EXPECT_EQ(Run("deletefromfavorite", "", 5), Calls{"popup -4 at 5"});
    EXPECT_TRUE(Run("historyback", "", 2, ekSwitchOne).empty());
    EXPECT_EQ(Run("contextmenu2"), Calls{"context 2"});
    EXPECT_TRUE(Run("contextmenu2", "", 0, ekSwitchGrp).empty());
    EXPECT_TRUE(Run("bgsound", "", 0, ekSwitchOne).empty());
    EXPECT_EQ(Run("bgsound"), Calls{"bgsound"});
    t.popups = false;
    EXPECT_TRUE(Run("historyforward").empty());
    t.pages = false;
    EXPECT_TRUE(Run("back").empty());
    EXPECT_TRUE(Run("nextchapter").empty());
}

TEST_F(Dispatcher, FindNextOpensTheDialogOrSearchesInTheThesaurus) {
    EXPECT_EQ(Run("findnext2"), Calls{"find dialog"});
    t.thesaurus = true;
    EXPECT_EQ(Run("findnext2"), Calls{"find box 2"});
    EXPECT_EQ(Run("minimize", "", 1, ekButton), Calls{"minimize 1/0"});
    EXPECT_EQ(Run("3d"), Calls{"3d"});
}
