#pragma once
// TSkinControls: the skin's parts around the pages, owned by the main window: the text labels,
// the blinking status line, the path inputs, the find's scale bar, the message dialog and the
// popup menus with the history and favourites lists they show. Each exists only when the
// description asks for it; every operation does nothing without its part. The window forwards
// its events here: paint, screen changes, presses (which close popups), Esc and page history.
#include <QObject>
#include <QPoint>

#include <memory>
#include <string>

#include "app/FindTxtHtml.h"
#include "html/Favorites.h"
#include "base/DynamicStringArray.h"
#include "rules/PopupCommands.h"
#include "skin/PopupHost.h"
#include "skin/SkinDialogHost.h"

class QPainter;
class TControlPopupWindow;
class TPageScan;
class TCoolDialog;
class ISkinControlsHost;
class TPathInputBox;
class TScaleBar;
class TStatusLine;
class TTextMsg;

class TSkinControls : public QObject, public IPopupActions, public IFavoritePopup, private IFindHost,
                      private ICoolDialogHost, private IPopupHost {
public:
    // dialogLines: the decoded, lower-cased Dialog.cfs; empty when the bundle has none.
    TSkinControls(ISkinControlsHost& window, const TDynamicStringArray& dialogLines);
    ~TSkinControls() override;

    void ScreenChanged(int screen);
    // The standard window hides the find boxes and path inputs of the screen; the skin shows them.
    void SetStandardForm(bool standard);
    void PaintWindow(QPainter& painter);
    void Escape();
    // Before a screen switch: a running scan is asked to stop and the dialog closes (once the
    // scan has stopped, when one runs).
    void StopSearchAndCloseDialog();

    // Status line, page title label and path input.
    void ShowStatus(const std::string& text) override;
    void ClearStatus() override;
    std::string CurrentPath() const;
    bool HasPathInput() const;
    std::string LabelText(int number) const;
    // The page shown changed: its title goes to label 1, its history to the history popups.
    void HistoryChanged(const std::string& title);

    // The message dialog; without it (or its page) a plain message box shows the text.
    void ShowMessage(const std::string& text, int page = 0);
    // The printer messages, modal: the window takes no input (no print starts again) until the
    // reader closes them. A page: false without the skinned dialog; a text: a box then.
    bool ShowPrinterMessagePage(int page);
    void ShowPrintMessage(const std::string& text);
    // A warning box of the system's, for missing index files: the dialog may be showing the find.
    void ShowWarning(const std::string& text) { ShowBox(true, text); }
    void OpenFindDialog();
    bool DialogShowing() const;
    TCoolDialog* Dialog() const { return dialog_; }
    // The full-text find; null without find boxes.
    TFindTxtHtml* Find() const { return find_.get(); }

    // Popups: lists -1 … -4 anchored at a button of the current screen, menus at the pointer.
    bool HasPopups() const { return popups_ != nullptr; }
    void OpenPopupList(int list, int buttonIndex);
    void OpenPopupAt(int type, QPoint screenPoint);
    void HidePopups();
    TControlPopupWindow* Popups() const { return popups_.get(); }

    // Favourites: the run's one list, shown in the -3 popup.
    THtmlFavorite* Favorites() const { return favorites_.get(); }
    void AddCurrentPageToFavorites();

    // IPopupActions
    bool HasPageFrame() const override;
    bool HasFavorites() const override { return favorites_ != nullptr; }
    void RunHistoryCommand(const std::string& command) override;
    void CopySelection() override;
    void AddToFavorites() override { AddCurrentPageToFavorites(); }
    void PageFontDialog() override;
    void SelectAll() override;
    void PrintPage() override;
    void Dispatch(const std::string& command) override;

    // IFavoritePopup
    void AddItem(const std::string& caption, const std::string& command) override;
    void SetItem(int index, const std::string& caption, const std::string& command) override;

private:
    // IFindHost: the find reports on the status line, the scale bar and the dialog, and reads
    // the pages through the page scan. The screen shown serves the popups too.
    int CurrentScreen() const override;
    TFrameViewer* CurrentView() const override;
    TTreeViews* ContentsTree() const override;
    void Warn(const std::string& text) override { ShowWarning(text); }
    void ResetBar() override;
    void StepBar() override;
    int BarWidth() const override;
    void StoppedChanged(bool stopped) override;
    void ResultsChanged() override;
    void ScanEnded() override;
    void EnterCommand(const std::string& command) override;
    void PointerOverBox() override;
    bool PageContains(const std::string& file, const std::string& word, bool matchCase) override;
    std::string PageTitle(const std::string& file) override;
    void PreparePages(const TDynamicStringArray& pages, size_t from, size_t count) override;
    TDynamicStringArray PackPages() const override;
    TDynamicStringArray DiskPages() const override;

    // ICoolDialogHost: the dialog's pictures, sounds and labels are the window's; its find page
    // talks to the find, which may be missing. The pictures serve the popups too.
    QImage LoadPicture(const std::string& name) override;
    QRect MainWindowGeometry() override;
    bool SoundsOn() override;
    bool HintsOn() override;
    void PlaySound(const std::string& name) override;
    void EscapePressed(QKeyEvent*) override { Escape(); }
    void PaintOverlay(QPainter& painter) override;
    bool Busy() override;
    void StopFind() override;
    void SetFindMode(TFindMode mode) override;
    void FindNext(int box) override;
    void FindClosed() override;
    std::vector<std::string> FindResults() override;
    void OpenFindResult(int index) override;
    std::vector<QWidget*> FindBoxes() override;
    void RefreshScaleBar() override;
    void DialogClosed(int) override {}

    // IPopupHost: the popups open over the main window's screen and run their items' commands
    // here; the slide takes the system's clock and pointer.
    QPoint ClientToScreen(QPoint clientPoint) override;
    QRect Desktop() override;
    bool AnimationOffered() override { return true; }
    void Choose(const std::string& command) override;
    void FavoriteDeleted(int index) override;
    void FavoritesBuilt() override { FillFavorites(); }
    qint64 Now() override;
    QPoint Cursor() override;

    void BuildTexts();
    void BuildPaths();
    void BuildDialog(const TDynamicStringArray& lines);
    void ShowBox(bool warning, const std::string& text);
    void BuildFind();
    void BuildPopups();
    void FillFavorites();
    void RefreshHistoryPopups();

    ISkinControlsHost& window_;
    std::unique_ptr<TTextMsg> texts_;
    TStatusLine* status_ = nullptr;
    std::unique_ptr<TPathInputBox> paths_;
    std::unique_ptr<TScaleBar> bar_;
    TCoolDialog* dialog_ = nullptr;
    std::unique_ptr<THtmlFavorite> favorites_;
    std::unique_ptr<TControlPopupWindow> popups_;
    std::unique_ptr<TPageScan> scan_;
    std::unique_ptr<TFindTxtHtml> find_;
};
