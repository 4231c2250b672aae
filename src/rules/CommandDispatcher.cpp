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
    const TCommandRoutes& r;
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
    if (target < 0 || target >= d.r.shell.ScreenCount()) return;
    d.r.pages.SelectTreePage(d.p.first);
    d.r.shell.SwitchScreen(target, d.index, d.kind);
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
    if (!d.r.shell.HasPageFrame()) return;
    if (d.c == "copyhtml") d.r.pages.CopyHtml();
    else if (d.c == "printhtml") d.r.pages.PrintHtml();
    else if (d.c == "tophtml") d.r.pages.TopHtml();
    else if (d.c == "nextchapter") d.r.pages.NextChapter();
    else d.r.pages.PrevChapter();
}

bool isPlayerCommand(const std::string& c) {
    return c == "play" || c == "stop" || c == "pause" || c == "stepforward" || c == "stepback";
}

// The named steps in their order; the first whose test holds decides.
const RStep kSteps[] = {
    {[](const D& d) { return contains(Cp1251::asciiLower(d.p.name), "screen"); }, screenByName},
    {[](const D& d) { return d.c == "2d"; }, [](const D& d) { d.r.media.Clip2D(); }},
    {[](const D& d) { return d.c == "3d"; }, [](const D& d) { d.r.media.Clip3D(); }},
    {[](const D& d) { return d.p.name == "run"; }, [](const D& d) { d.r.software.RunFile(d.p.first, d.p.second); }},
    {[](const D& d) { return d.c == "about"; }, [](const D& d) { d.r.shell.About(); }},
    {[](const D& d) { return d.c == "minimize"; }, [](const D& d) { d.r.shell.Minimize(d.index, d.kind); }},
    // The command names and the tree files cross over: "tree1" shows the tree of tree2.cfs.
    {[](const D& d) { return contains(d.c, "tree1"); }, [](const D& d) { d.r.pages.ShowTree(2); }},
    {[](const D& d) { return contains(d.c, "tree2"); }, [](const D& d) { d.r.pages.ShowTree(1); }},
    {[](const D& d) { return contains(d.c, "ontree"); }, [](const D& d) { d.r.pages.SetTreesOn(true); }},
    {[](const D& d) { return contains(d.c, "offtree"); }, [](const D& d) { d.r.pages.SetTreesOn(false); }},
    // Only buttons anchor popups.
    {[](const D& d) { return popupList(d.c) != 0; },
     [](const D& d) {
         if (d.kind == ekButton && d.r.shell.HasPopupWindow()) d.r.popups.OpenPopupList(popupList(d.c), d.index);
     }},
    {[](const D& d) { return d.c == "addtofavorite"; }, [](const D& d) { d.r.popups.AddToFavorites(); }},
    {[](const D& d) { return d.c == "tesaurus"; }, [](const D& d) { d.r.find.Thesaurus(""); }},
    {[](const D& d) { return contains(d.c, "contextmenu"); },
     [](const D& d) {
         if (d.kind == ekButton && d.r.shell.HasPopupWindow()) d.r.popups.OpenContextMenu(ParseIntAt(d.c, 11));
     }},
    {[](const D& d) { return d.c == "back" || d.c == "forward"; },
     [](const D& d) {
         if (d.r.shell.HasPageFrame()) d.c == "back" ? d.r.pages.Back() : d.r.pages.Forward();
     }},
    {[](const D& d) { return contains(d.p.name, "html"); }, [](const D& d) { d.r.pages.OpenHtml(d.p.first, ParseIntAt(d.c, 5)); }},
    {[](const D& d) { return isPageCommand(d.c); }, pageCommand},
    {[](const D& d) { return contains(d.c, "findnext"); },
     [](const D& d) { d.r.shell.InThesaurusWindow() ? d.r.find.FindNext(ParseIntAt(d.c, 9)) : d.r.find.OpenFindDialog(); }},
    {[](const D& d) { return contains(d.c, "findtxtall"); }, [](const D& d) { d.r.find.FindText(true); }},
    {[](const D& d) { return contains(d.c, "findtxtlimit"); }, [](const D& d) { d.r.find.FindText(false); }},
    {[](const D& d) { return d.c == "caseon" || d.c == "caseoff"; }, [](const D& d) { d.r.find.SetCaseSensitive(d.c == "caseon"); }},
    {[](const D& d) { return d.c == "bgsound"; },
     [](const D& d) {
         if (d.kind == ekButton) d.r.media.ToggleBackgroundSound();
     }},
    {[](const D& d) { return d.c == "standartwin"; }, [](const D& d) { d.r.shell.StandardWindow(); }},
    {[](const D& d) { return d.c == "options"; }, [](const D& d) { d.r.shell.Options(); }},
    {[](const D& d) { return d.c == "help"; }, [](const D& d) { d.r.shell.Help(); }},
    {[](const D& d) { return d.c == "unarc"; }, [](const D& d) { d.r.software.Unarc(); }},
    {[](const D& d) { return isPlayerCommand(d.c); }, [](const D& d) { d.r.media.PlayerCommand(d.c); }},
    {[](const D& d) { return contains(d.p.name, "clip"); }, [](const D& d) { d.r.media.PlayClip(d.p.first, d.p.second); }},
    {[](const D& d) { return d.c == "nextpic"; }, [](const D& d) { d.r.media.NextPicture(); }},
    {[](const D& d) { return d.c == "prevpic"; }, [](const D& d) { d.r.media.PrevPicture(); }},
    {[](const D& d) { return d.c == "installfonts"; }, [](const D& d) { d.r.software.InstallFonts(); }},
    {[](const D& d) { return d.p.name == "rungame"; }, [](const D& d) { d.r.software.RunGame(d.p.first, d.p.second); }},
    {[](const D& d) { return d.p.name == "delgame"; }, [](const D& d) { d.r.software.DeleteGame(d.p.first); }},
};

} // namespace

void ExecuteCommand(const TCommandRoutes& routes, const std::string& command, const std::string& sound, int index, int kind,
                    bool startup) {
    if (routes.shell.Busy()) return;
    if (command == "exit") {
        routes.shell.CloseMainWindow(kind == ekButton ? index : -1);
        return;
    }
    if (!sound.empty() && sound != "no" && routes.shell.ButtonSoundsOn() && !startup) routes.media.PlaySound(ProgramDir() + sound);
    const RCommandPieces pieces = SplitCommand(command);
    const RDispatch dispatch{routes, command, pieces, index, kind};
    for (const RStep& step : kSteps)
        if (step.matches(dispatch)) return step.run(dispatch);
    const int number = ParseIntAt(command, 1);
    if (number >= 1 && number <= routes.shell.ScreenCount()) {
        routes.find.StopSearchAndCloseDialog();
        routes.shell.SwitchScreen(number - 1, index, kind);
    } else {
        Diagnose(TDiagnosticLayer::Rules, "command \"" + command + "\" does nothing");
    }
}
