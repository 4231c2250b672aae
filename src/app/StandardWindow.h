#pragma once
// TStandardWindow: the bars of the main window turned into an ordinary sizable window: a toolbar
// with the history menus "Назад" and "Вперед", "Печать" and "Свернуть", and a status bar with one
// panel. Built the first time they are shown; the window places them and lays the page view
// between them. The history refresh fills the menus from the page frame's history.
#include <QRect>

#include <string>
#include <vector>

#include "html/HtmlFrame.h"

class QAction;
class QMenu;
class QStatusBar;
class QToolBar;
class QWidget;

// What the bars' buttons and menus do.
class IStandardBarsHost {
public:
    virtual ~IStandardBarsHost() = default;
    virtual void GoToHistory(int index) = 0;  // the page frame jumps to a history entry
    virtual void Step(bool back) = 0;         // history back or forward
    virtual void Print() = 0;                 // "Печать"
    virtual void Leave() = 0;                 // "Свернуть"
};

class TStandardWindow {
public:
    static constexpr int kMenuEntries = 7;

    // window: the one the bars are placed in.
    TStandardWindow(QWidget& window, IStandardBarsHost& host) : window_(window), host_(host) {}

    // Shows the bars (built the first time) in their first form: of the toolbar only "Печать"
    // and, unless restricted, "Свернуть" show; the status bar stays hidden.
    void ShowBars(bool restricted);
    void HideBars();
    bool Built() const { return toolbar_ != nullptr; }
    // Places the bars in the window; the rest of it is the page area.
    QRect Layout();
    // Fills the menus from the history (newest first, position the entry shown) and enables the
    // back and forward buttons as the view can go.
    void HistoryRefresh(const std::vector<RHistoryEntry>& history, int position, bool canBack, bool canForward);
    void ShowLinkStatus(const std::string& text);

    QToolBar* ToolBar() const { return toolbar_; }
    QMenu* BackMenu() const { return menus_[0]; }
    QMenu* ForwardMenu() const { return menus_[1]; }
    QStatusBar* StatusBar() const { return status_; }

private:
    void Build();
    QAction* AddDropDown(int which, const char* caption, const char* hint);
    void FillMenu(int which, const std::vector<RHistoryEntry>& history, const std::vector<int>& indexes);

    QWidget& window_;
    IStandardBarsHost& host_;
    QToolBar* toolbar_ = nullptr;
    QStatusBar* status_ = nullptr;
    QMenu* menus_[2] = {nullptr, nullptr};
    QAction* dropDowns_[2] = {nullptr, nullptr};
    QAction* divider_ = nullptr;
    QAction* leave_ = nullptr;
};

// A history entry's caption in the menus: the file, or the title, "--" and the file, cut to 80
// characters (CP1251).
std::string StandardMenuCaption(const RHistoryEntry& entry);
