#include <gtest/gtest.h>

#include <vector>

#include "base/GlobalPaths.h"
#include "rules/CommandDispatcher.h"

namespace {

// Records every call of every role as one line of text.
class Recorder : public IShellCommands,
                 public IPageCommands,
                 public IPopupCommands,
                 public IFindCommands,
                 public IMediaCommands,
                 public ISoftwareCommands {
public:
    std::vector<std::string> calls;
    bool busy = false, popups = true, pages = true, thesaurus = false, sounds = true;
    int screens = 3;
    TCommandRoutes Routes() { return {*this, *this, *this, *this, *this, *this}; }

    bool Busy() const override { return busy; }
    bool ButtonSoundsOn() const override { return sounds; }
    int ScreenCount() const override { return screens; }
    bool HasPopupWindow() const override { return popups; }
    bool HasPageFrame() const override { return pages; }
    bool InThesaurusWindow() const override { return thesaurus; }

    void CloseMainWindow(int b) override { add("close " + std::to_string(b)); }
    void SwitchScreen(int t, int i, int k) override { add("screen " + std::to_string(t) + " from " + std::to_string(i) + "/" + std::to_string(k)); }
    void Minimize(int i, int k) override { add("minimize " + std::to_string(i) + "/" + std::to_string(k)); }
    void About() override { add("about"); }
    void StandardWindow() override { add("standard window"); }
    void Options() override { add("options"); }
    void Help() override { add("help"); }

    void SelectTreePage(const std::string& p) override { add("tree page " + p); }
    void ShowTree(int f) override { add("show tree " + std::to_string(f)); }
    void SetTreesOn(bool on) override { add(on ? "trees on" : "trees off"); }
    void Back() override { add("back"); }
    void Forward() override { add("forward"); }
    void OpenHtml(const std::string& f, int v) override { add("html " + f + " in " + std::to_string(v)); }
    void CopyHtml() override { add("copy page"); }
    void PrintHtml() override { add("print page"); }
    void TopHtml() override { add("page top"); }
    void NextChapter() override { add("next chapter"); }
    void PrevChapter() override { add("previous chapter"); }

    void OpenPopupList(int l, int b) override { add("popup " + std::to_string(l) + " at " + std::to_string(b)); }
    void OpenContextMenu(int n) override { add("context " + std::to_string(n)); }
    void AddToFavorites() override { add("add favourite"); }

    void StopSearchAndCloseDialog() override { add("stop search"); }
    void FindNext(int n) override { add("find box " + std::to_string(n)); }
    void OpenFindDialog() override { add("find dialog"); }
    void FindText(bool all) override { add(all ? "find in all pages" : "find in some pages"); }
    void SetCaseSensitive(bool on) override { add(on ? "case on" : "case off"); }
    void Thesaurus(const std::string& w) override { add("thesaurus " + w); }

    void PlaySound(const std::string& f) override { add("sound " + f); }
    void ToggleBackgroundSound() override { add("bgsound"); }
    void PlayerCommand(const std::string& o) override { add("player " + o); }
    void PlayClip(const std::string& f, const std::string& p) override { add("clip " + f + " " + p); }
    void NextPicture() override { add("next picture"); }
    void PrevPicture() override { add("previous picture"); }
    void Clip2D() override { add("2d"); }
    void Clip3D() override { add("3d"); }

    void RunFile(const std::string& f, const std::string& p) override { add("run " + f + " " + p); }
    void RunGame(const std::string& s, const std::string& k) override { add("rungame " + s + " " + k); }
    void DeleteGame(const std::string& n) override { add("delgame " + n); }
    void InstallFonts() override { add("install fonts"); }
    void Unarc() override { add("unarc"); }

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
        ExecuteCommand(t.Routes(), command, sound, index, kind, startup);
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

// Each command name reaches its own role, once.
TEST_F(Dispatcher, EveryCommandNameReachesItsFeature) {
    const std::pair<const char*, const char*> cases[] = {
        {"about", "about"},           {"standartwin", "standard window"}, {"options", "options"},
        {"help", "help"},             {"forward", "forward"},             {"copyhtml", "copy page"},
        {"printhtml", "print page"},  {"tophtml", "page top"},            {"prevchapter", "previous chapter"},
        {"ontree", "trees on"},       {"addtofavorite", "add favourite"}, {"tesaurus", "thesaurus "},
        {"findtxtall", "find in all pages"}, {"findtxtlimit", "find in some pages"}, {"caseon", "case on"},
        {"caseoff", "case off"},      {"stop", "player stop"},            {"stepback", "player stepback"},
        {"nextpic", "next picture"},  {"prevpic", "previous picture"},    {"2d", "2d"},
        {"installfonts", "install fonts"}, {"unarc", "unarc"},            {"rungame=setup.exe=chess", "rungame d:\\run\\setup.exe chess"},
    };
    for (const auto& [command, call] : cases) EXPECT_EQ(Run(command), Calls{call}) << command;
}
