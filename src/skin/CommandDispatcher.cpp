#include "skin/CommandDispatcher.h"

#include "base/Cp1251.h"
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

// Steps from the screen command on; true when one of them took the command.
bool dispatchNamed(ICommandTarget& t, const std::string& c, const RCommandPieces& p, int index, int kind) {
    if (contains(Cp1251::asciiLower(p.name), "screen")) {
        const int target = ParseIntAt(p.name, 1) - 1;
        // A screen that does not exist is never switched to.
        if (target >= 0 && target < t.ScreenCount()) {
            t.SelectTreePage(p.first);
            t.SwitchScreen(target, index, kind);
        }
        return true;
    }
    if (c == "2d") return t.Clip2D(), true;
    if (c == "3d") return t.Clip3D(), true;
    if (p.name == "run") return t.RunFile(p.first, p.second), true;
    if (c == "about") return t.About(), true;
    if (c == "minimize") return t.Minimize(index, kind), true;
    if (contains(c, "tree1")) return t.ShowTree(2), true;
    if (contains(c, "tree2")) return t.ShowTree(1), true;
    if (contains(c, "ontree")) return t.SetTreesOn(true), true;
    if (contains(c, "offtree")) return t.SetTreesOn(false), true;
    static const char* const kLists[] = {"historyback", "historyforward", "showfavorite", "deletefromfavorite"};
    for (int list = 0; list < 4; ++list)
        if (c == kLists[list]) {
            if (kind == ekButton && t.HasPopupWindow()) t.OpenPopupList(-(list + 1), index);
            return true;
        }
    if (c == "addtofavorite") return t.AddToFavorites(), true;
    if (c == "tesaurus") return t.Thesaurus(""), true;
    if (contains(c, "contextmenu")) {
        if (kind == ekButton && t.HasPopupWindow()) t.OpenContextMenu(ParseIntAt(c, 11));
        return true;
    }
    if (c == "back" || c == "forward") {
        if (t.HasPageFrame()) c == "back" ? t.Back() : t.Forward();
        return true;
    }
    if (contains(p.name, "html")) return t.OpenHtml(p.first, ParseIntAt(c, 5)), true;
    if (c == "copyhtml" || c == "printhtml" || c == "tophtml" || c == "nextchapter" || c == "prevchapter") {
        if (!t.HasPageFrame()) return true;
        if (c == "copyhtml") t.CopyHtml();
        else if (c == "printhtml") t.PrintHtml();
        else if (c == "tophtml") t.TopHtml();
        else if (c == "nextchapter") t.NextChapter();
        else t.PrevChapter();
        return true;
    }
    if (contains(c, "findnext")) {
        if (t.InThesaurusWindow()) t.FindNext(ParseIntAt(c, 9));
        else t.OpenFindDialog();
        return true;
    }
    if (contains(c, "findtxtall")) return t.FindText(true), true;
    if (contains(c, "findtxtlimit")) return t.FindText(false), true;
    if (c == "caseon" || c == "caseoff") return t.SetCaseSensitive(c == "caseon"), true;
    if (c == "bgsound") {
        if (kind == ekButton) t.ToggleBackgroundSound();
        return true;
    }
    if (c == "standartwin") return t.StandardWindow(), true;
    if (c == "options") return t.Options(), true;
    if (c == "help") return t.Help(), true;
    if (c == "unarc") return t.Unarc(), true;
    if (c == "play" || c == "stop" || c == "pause" || c == "stepforward" || c == "stepback") return t.PlayerCommand(c), true;
    if (contains(p.name, "clip")) return t.PlayClip(p.first, p.second), true;
    if (c == "nextpic") return t.NextPicture(), true;
    if (c == "prevpic") return t.PrevPicture(), true;
    if (c == "installfonts") return t.InstallFonts(), true;
    if (p.name == "rungame") return t.RunGame(p.first, p.second), true;
    if (p.name == "delgame") return t.DeleteGame(p.first), true;
    return false;
}

} // namespace

void ExecuteCommand(ICommandTarget& target, const std::string& command, const std::string& sound, int index, int kind,
                    bool startup) {
    if (target.Busy()) return;
    if (command == "exit") {
        target.CloseMainWindow(kind == ekButton ? index : -1);
        return;
    }
    if (!sound.empty() && sound != "no" && target.ButtonSoundsOn() && !startup) target.PlaySound(ProgramDir() + sound);
    if (dispatchNamed(target, command, SplitCommand(command), index, kind)) return;
    const int number = ParseIntAt(command, 1);
    if (number >= 1 && number <= target.ScreenCount()) {
        target.StopSearchAndCloseDialog();
        target.SwitchScreen(number - 1, index, kind);
    }
}
