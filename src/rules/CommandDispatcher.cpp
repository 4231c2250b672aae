#include "rules/CommandDispatcher.h"

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/GlobalPaths.h"
#include "packs/StringUtils.h"

RCommandPieces SplitCommand(const std::string& command) {
    RCommandPieces pieces;
    const size_t eq = command.find('=');
    if (eq != std::string::npos) pieces.name = command.substr(0, eq);
    pieces.first = ValueAfterFirstEquals(command);
    pieces.second = ValueAfterLastEquals(command);
    return pieces;
}

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// What every step reads of one command.
struct RDispatch {
    ICommandTarget& t;
    const std::string& c;  // the whole command
    const RCommandPieces& p;
    int index;
    int kind;
};
using D = RDispatch;

// A step: its test, and what it does when the test holds.
struct RStep {
    bool (*matches)(const D&);
    void (*run)(const D&);
};

// A screen that does not exist is never switched to.
void screenByName(const D& d) {
    const int target = ParseIntAt(d.p.name, 1) - 1;
    if (target < 0 || target >= d.t.ScreenCount()) return;
    d.t.SelectTreePage(d.p.first);
    d.t.SwitchScreen(target, d.index, d.kind);
}

// "historyback" … "deletefromfavorite" open lists -1 … -4; 0 for any other command.
int popupList(const std::string& c) {
    static const char* const kLists[] = {"historyback", "historyforward", "showfavorite", "deletefromfavorite"};
    for (int list = 0; list < 4; ++list)
        if (c == kLists[list]) return -(list + 1);
    return 0;
}

bool isPageCommand(const std::string& c) {
    return c == "copyhtml" || c == "printhtml" || c == "tophtml" || c == "nextchapter" || c == "prevchapter";
}

void pageCommand(const D& d) {
    if (!d.t.HasPageFrame()) return;
    if (d.c == "copyhtml") d.t.CopyHtml();
    else if (d.c == "printhtml") d.t.PrintHtml();
    else if (d.c == "tophtml") d.t.TopHtml();
    else if (d.c == "nextchapter") d.t.NextChapter();
    else d.t.PrevChapter();
}

bool isPlayerCommand(const std::string& c) {
    return c == "play" || c == "stop" || c == "pause" || c == "stepforward" || c == "stepback";
}

// The named steps in their order; the first whose test holds decides.
const RStep kSteps[] = {
    {[](const D& d) { return contains(Cp1251::asciiLower(d.p.name), "screen"); }, screenByName},
    {[](const D& d) { return d.c == "2d"; }, [](const D& d) { d.t.Clip2D(); }},
    {[](const D& d) { return d.c == "3d"; }, [](const D& d) { d.t.Clip3D(); }},
    {[](const D& d) { return d.p.name == "run"; }, [](const D& d) { d.t.RunFile(d.p.first, d.p.second); }},
    {[](const D& d) { return d.c == "about"; }, [](const D& d) { d.t.About(); }},
    {[](const D& d) { return d.c == "minimize"; }, [](const D& d) { d.t.Minimize(d.index, d.kind); }},
    // The command names and the tree files cross over: "tree1" shows the tree of tree2.cfs.
    {[](const D& d) { return contains(d.c, "tree1"); }, [](const D& d) { d.t.ShowTree(2); }},
    {[](const D& d) { return contains(d.c, "tree2"); }, [](const D& d) { d.t.ShowTree(1); }},
    {[](const D& d) { return contains(d.c, "ontree"); }, [](const D& d) { d.t.SetTreesOn(true); }},
    {[](const D& d) { return contains(d.c, "offtree"); }, [](const D& d) { d.t.SetTreesOn(false); }},
    // Only buttons anchor popups.
    {[](const D& d) { return popupList(d.c) != 0; },
     [](const D& d) {
         if (d.kind == ekButton && d.t.HasPopupWindow()) d.t.OpenPopupList(popupList(d.c), d.index);
     }},
    {[](const D& d) { return d.c == "addtofavorite"; }, [](const D& d) { d.t.AddToFavorites(); }},
    {[](const D& d) { return d.c == "tesaurus"; }, [](const D& d) { d.t.Thesaurus(""); }},
    {[](const D& d) { return contains(d.c, "contextmenu"); },
     [](const D& d) {
         if (d.kind == ekButton && d.t.HasPopupWindow()) d.t.OpenContextMenu(ParseIntAt(d.c, 11));
     }},
    {[](const D& d) { return d.c == "back" || d.c == "forward"; },
     [](const D& d) {
         if (d.t.HasPageFrame()) d.c == "back" ? d.t.Back() : d.t.Forward();
     }},
    {[](const D& d) { return contains(d.p.name, "html"); }, [](const D& d) { d.t.OpenHtml(d.p.first, ParseIntAt(d.c, 5)); }},
    {[](const D& d) { return isPageCommand(d.c); }, pageCommand},
    {[](const D& d) { return contains(d.c, "findnext"); },
     [](const D& d) { d.t.InThesaurusWindow() ? d.t.FindNext(ParseIntAt(d.c, 9)) : d.t.OpenFindDialog(); }},
    {[](const D& d) { return contains(d.c, "findtxtall"); }, [](const D& d) { d.t.FindText(true); }},
    {[](const D& d) { return contains(d.c, "findtxtlimit"); }, [](const D& d) { d.t.FindText(false); }},
    {[](const D& d) { return d.c == "caseon" || d.c == "caseoff"; }, [](const D& d) { d.t.SetCaseSensitive(d.c == "caseon"); }},
    {[](const D& d) { return d.c == "bgsound"; },
     [](const D& d) {
         if (d.kind == ekButton) d.t.ToggleBackgroundSound();
     }},
    {[](const D& d) { return d.c == "standartwin"; }, [](const D& d) { d.t.StandardWindow(); }},
    {[](const D& d) { return d.c == "options"; }, [](const D& d) { d.t.Options(); }},
    {[](const D& d) { return d.c == "help"; }, [](const D& d) { d.t.Help(); }},
    {[](const D& d) { return d.c == "unarc"; }, [](const D& d) { d.t.Unarc(); }},
    {[](const D& d) { return isPlayerCommand(d.c); }, [](const D& d) { d.t.PlayerCommand(d.c); }},
    {[](const D& d) { return contains(d.p.name, "clip"); }, [](const D& d) { d.t.PlayClip(d.p.first, d.p.second); }},
    {[](const D& d) { return d.c == "nextpic"; }, [](const D& d) { d.t.NextPicture(); }},
    {[](const D& d) { return d.c == "prevpic"; }, [](const D& d) { d.t.PrevPicture(); }},
    {[](const D& d) { return d.c == "installfonts"; }, [](const D& d) { d.t.InstallFonts(); }},
    {[](const D& d) { return d.p.name == "rungame"; }, [](const D& d) { d.t.RunGame(d.p.first, d.p.second); }},
    {[](const D& d) { return d.p.name == "delgame"; }, [](const D& d) { d.t.DeleteGame(d.p.first); }},
};

} // namespace

void ExecuteCommand(ICommandTarget& target, const std::string& command, const std::string& sound, int index, int kind,
                    bool startup) {
    if (target.Busy()) return;
    if (command == "exit") {
        target.CloseMainWindow(kind == ekButton ? index : -1);
        return;
    }
    if (!sound.empty() && sound != "no" && target.ButtonSoundsOn() && !startup) target.PlaySound(ProgramDir() + sound);
    const RCommandPieces pieces = SplitCommand(command);
    const RDispatch dispatch{target, command, pieces, index, kind};
    for (const RStep& step : kSteps)
        if (step.matches(dispatch)) return step.run(dispatch);
    const int number = ParseIntAt(command, 1);
    if (number >= 1 && number <= target.ScreenCount()) {
        target.StopSearchAndCloseDialog();
        target.SwitchScreen(number - 1, index, kind);
    } else {
        Diagnose(TDiagnosticLayer::Rules, "command \"" + command + "\" does nothing");
    }
}
