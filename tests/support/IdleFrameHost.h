#pragma once
// A window for a page frame under test that has none of the skin: no switches, trees, popups,
// find boxes or dialog; every request is taken and does nothing. Tests override what they watch.
#include <QWidget>

#include "html/HtmlFrameHost.h"

class TIdleFrameHost : public IHtmlFrameHost {
public:
    QWidget window;
    QWidget* FrameWindow() override { return &window; }
    QWidget* BackgroundPanel() override { return nullptr; }
    int FrameScreen() const override { return 0; }
    void PressSwitchesFor(const std::string&) override {}
    void RunCommandWithoutSound(const std::string&) override {}
    TTreeViews* ContentsTree(int) override { return nullptr; }
    void SetButtonHint(const std::string&, const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void ShowLinkStatus(const std::string&) override {}
    void HistoryChanged(const std::string&) override {}
    std::string PathInputFolder() override { return {}; }
    void ClosePopup() override {}
    void OpenPageContextMenu(QPoint) override {}
    void ThesaurusLookup(const std::string&) override {}
    bool InThesaurusMode() const override { return false; }
    void EnterToFindBoxes() override {}
    void MouseMoveToWindow() override {}
    bool ShowPrinterMessagePage(int) override { return false; }
    void ShowPrintMessage(const std::string&) override {}
    void ShowHelpTopic(const std::string&) override {}
};
