#pragma once
// What a chosen popup item does. RunPopupCommand acts on the page directly for the page
// commands of the popups and hands everything else to the dispatcher. "history", "html" and
// "htmlpos" are recognised by their name part (the text before the first "="), the other page
// commands by the whole command. A page command needs a page frame ("addtofavorite" also the
// favourites list) and does nothing without one; it never falls through to the dispatcher.
#include <string>

// The program's side of the popup commands. The main window implements it.
class IPopupActions {
public:
    virtual ~IPopupActions() = default;

    virtual bool HasPageFrame() const = 0;
    virtual bool HasFavorites() const = 0;

    // "history=N", "html=FILE" or "htmlpos=FILE=POS", whole; the page follows and the trees too.
    virtual void RunHistoryCommand(const std::string& command) = 0;
    virtual void CopySelection() = 0;   // "copyclipboardhtml"
    virtual void AddToFavorites() = 0;  // "addtofavorite"
    virtual void PageFontDialog() = 0;  // "deffonthtml"
    virtual void SelectAll() = 0;       // "selectallhtml"
    virtual void PrintPage() = 0;       // "printhtml"
    // Any other command: to the dispatcher with no sound, kind 0 (button), index 0.
    virtual void Dispatch(const std::string& command) = 0;
};

void RunPopupCommand(IPopupActions& actions, const std::string& command);
