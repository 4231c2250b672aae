#pragma once
// TBookFind: the find's and the thesaurus' commands: the find dialog, the find boxes' searches
// with their mode and case, the search stopped before a screen switch, and a word looked up in
// the thesaurus window. The find boxes and the dialog are the skin controls' (a window without
// them finds nothing).
#include <functional>
#include <memory>
#include <string>

#include "platform/WindowEntry.h"
#include "rules/CommandTarget.h"

class TFindTxtHtml;
class TSkinControls;

class TBookFind : public IFindCommands {
public:
    // controls: the window's skin controls as they are made; windowHandle: the window the
    // thesaurus window is asked from.
    TBookFind(const std::unique_ptr<TSkinControls>& controls, std::function<THandle()> windowHandle)
        : controls_(controls), windowHandle_(std::move(windowHandle)) {}

    void StopSearchAndCloseDialog() override;
    void FindNext(int number) override;
    void OpenFindDialog() override;
    void FindText(bool allPages) override;
    void SetCaseSensitive(bool on) override;
    void Thesaurus(const std::string& word) override;

private:
    TFindTxtHtml* Find() const;

    const std::unique_ptr<TSkinControls>& controls_;
    std::function<THandle()> windowHandle_;
};
