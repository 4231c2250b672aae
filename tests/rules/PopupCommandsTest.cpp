// What a chosen popup item does: page commands by name part or whole command, their need of a
// page frame, and everything else to the dispatcher.
#include "rules/PopupCommands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Recorder : public IPopupActions {
public:
    std::vector<std::string> calls;
    bool pages = true, favorites = true;

    bool HasPageFrame() const override { return pages; }
    bool HasFavorites() const override { return favorites; }
    void RunHistoryCommand(const std::string& c) override { calls.push_back("history " + c); }
    void CopySelection() override { calls.push_back("copy"); }
    void AddToFavorites() override { calls.push_back("add favorite"); }
    void PageFontDialog() override { calls.push_back("font dialog"); }
    void SelectAll() override { calls.push_back("select all"); }
    void PrintPage() override { calls.push_back("print"); }
    void Dispatch(const std::string& c) override { calls.push_back("dispatch " + c); }

    std::vector<std::string> Run(const std::string& command) {
        calls.clear();
        RunPopupCommand(*this, command);
        return calls;
    }
};

using Calls = std::vector<std::string>;

TEST(PopupCommands, HistoryCommandsGoByTheirNamePart) {
    Recorder r;
    EXPECT_EQ(r.Run("history=3"), Calls{"history history=3"});
    EXPECT_EQ(r.Run("html=d:\\run\\a.htm"), Calls{"history html=d:\\run\\a.htm"});
    EXPECT_EQ(r.Run("htmlpos=d:\\run\\a.htm=120"), Calls{"history htmlpos=d:\\run\\a.htm=120"});
    // Only the text before the first "=" names the command.
    EXPECT_EQ(r.Run("html2=a.htm"), Calls{"dispatch html2=a.htm"});
    EXPECT_EQ(r.Run("historyback"), Calls{"dispatch historyback"});
}

TEST(PopupCommands, PageCommandsCompareTheWholeCommand) {
    Recorder r;
    EXPECT_EQ(r.Run("copyclipboardhtml"), Calls{"copy"});
    EXPECT_EQ(r.Run("addtofavorite"), Calls{"add favorite"});
    EXPECT_EQ(r.Run("deffonthtml"), Calls{"font dialog"});
    EXPECT_EQ(r.Run("selectallhtml"), Calls{"select all"});
    EXPECT_EQ(r.Run("printhtml"), Calls{"print"});
    EXPECT_EQ(r.Run("printhtml=1"), Calls{"dispatch printhtml=1"});
    EXPECT_EQ(r.Run("screen2"), Calls{"dispatch screen2"});
    EXPECT_EQ(r.Run(""), Calls{"dispatch "});
}

TEST(PopupCommands, PageCommandsNeedAPageFrameAndNeverReachTheDispatcher) {
    Recorder r;
    r.pages = false;
    for (const char* command : {"history=1", "html=a.htm", "htmlpos=a.htm=5", "copyclipboardhtml", "addtofavorite",
                                "deffonthtml", "selectallhtml", "printhtml"})
        EXPECT_TRUE(r.Run(command).empty()) << command;
    EXPECT_EQ(r.Run("about"), Calls{"dispatch about"});

    r.pages = true;
    r.favorites = false;
    EXPECT_TRUE(r.Run("addtofavorite").empty());
    EXPECT_EQ(r.Run("printhtml"), Calls{"print"});
}

} // namespace
