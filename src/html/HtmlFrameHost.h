#pragma once
// IHtmlFrameHost: what the page frame needs of the window it lives on: the window and its
// background panel, the current screen, the skin's switches and hints, the contents trees and
// the status line.
#include <QPoint>

#include <string>

class QWidget;
class TTreeViews;

class IHtmlFrameHost {
public:
    virtual ~IHtmlFrameHost() = default;
    virtual QWidget* FrameWindow() = 0;
    virtual QWidget* BackgroundPanel() = 0;
    virtual int FrameScreen() const = 0;
    // Presses, silently, the current screen's switches whose next command holds name.
    virtual void PressSwitchesFor(const std::string& name) = 0;
    virtual void RunCommandWithoutSound(const std::string& command) = 0;
    virtual TTreeViews* ContentsTree(int file) = 0;  // 1: tree1.cfs, 2: tree2.cfs; may be null
    virtual void SetButtonHint(const std::string& command, const std::string& hint) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    // Owners that arrive later; until then these do nothing.
    virtual std::string PathInputFolder() { return {}; }
    virtual void ClosePopup() {}
    virtual void OpenPageContextMenu(QPoint) {}
    virtual void ThesaurusLookup(const std::string&) {}
    virtual bool InThesaurusMode() const { return false; }
    virtual void EnterToFindBoxes() {}
    virtual void MouseMoveToWindow() {}
};
