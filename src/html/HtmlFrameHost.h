#pragma once
// IHtmlFrameHost: what the page frame needs of the window it lives on: the window and its
// background panel, the current screen, the skin's switches and hints, the contents trees, the
// blinking status line and the status bar.
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
    // A short message blinked in the status line ("Файл скопирован").
    virtual void ShowStatus(const std::string& text) = 0;
    // The text of the link under the pointer, for the status bar of the standard window.
    virtual void ShowLinkStatus(const std::string& text) = 0;
    // The current view's history changed, or the title of its page arrived: title is the page's.
    virtual void HistoryChanged(const std::string& title) = 0;
    // The folder the path input names, in Windows form; empty without one.
    virtual std::string PathInputFolder() = 0;
    virtual void ClosePopup() = 0;
    virtual void OpenPageContextMenu(QPoint point) = 0;
    virtual void ThesaurusLookup(const std::string& word) = 0;
    virtual bool InThesaurusMode() const = 0;
    virtual void EnterToFindBoxes() = 0;
    virtual void MouseMoveToWindow() = 0;
    // The skinned message dialog's page (2 no printer, 3 the default printer unusable); false
    // when there is no skinned dialog, so the caller warns in a box of its own.
    virtual bool ShowPrinterMessagePage(int page) = 0;
    // A message about printing, on the skinned message dialog (or a box), which the reader
    // closes before the window takes input again.
    virtual void ShowPrintMessage(const std::string& text) = 0;
    // Shows a topic of the book's help ("Topic18" from the print preview).
    virtual void ShowHelpTopic(const std::string& topic) = 0;
};
