#include "rules/PopupCommands.h"

namespace {

bool isHistoryName(const std::string& command) {
    const std::string name = command.substr(0, command.find('='));
    return name == "history" || name == "html" || name == "htmlpos";
}

// The page commands compared whole; null for any other command.
using TPageAction = void (IPopupActions::*)();
TPageAction pageAction(const std::string& command) {
    if (command == "copyclipboardhtml") return &IPopupActions::CopySelection;
    if (command == "deffonthtml") return &IPopupActions::PageFontDialog;
    if (command == "selectallhtml") return &IPopupActions::SelectAll;
    if (command == "printhtml") return &IPopupActions::PrintPage;
    return nullptr;
}

} // namespace

void RunPopupCommand(IPopupActions& actions, const std::string& command) {
    if (isHistoryName(command)) {
        if (actions.HasPageFrame()) actions.RunHistoryCommand(command);
    } else if (command == "addtofavorite") {
        if (actions.HasPageFrame() && actions.HasFavorites()) actions.AddToFavorites();
    } else if (const TPageAction action = pageAction(command)) {
        if (actions.HasPageFrame()) (actions.*action)();
    } else {
        actions.Dispatch(command);
    }
}
