#pragma once
// THtmlFrame: the owner of every page view. It gives each screen that has "_html" elements one
// page view, shows the view of the current screen, opens pages on command, keeps the skin's
// switches in step with back and forward, runs the page links' own protocol, drives chapter
// navigation in the contents trees and keeps the default text attributes. Window thread only.
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "html/Favorites.h"
#include "html/HtmlFrameHost.h"
#include "html/PageFrameApi.h"
#include "rules/Elements.h"
#include "rules/LinkProtocol.h"

class QTimer;
class QWidget;
class TFrameViewer;
class TTreeViews;
struct RPageObject;

struct RHistoryEntry {
    std::string file;
    std::string title;  // CP1251, empty for a page without one
};

// The five default text attributes of page views (colours red + 256 green + 65536 blue).
struct RFontAttr {
    std::string name = "Arial";
    uint32_t color = 0;
    int32_t size = 8;
    uint32_t hotSpotColor = 13158;
    uint32_t background = 16777215;
};

class THtmlFrame : public QObject, public IPageFrame, public ILinkView, public IHistoryHost {
    Q_OBJECT
public:
    // services do for the links what reaches beyond the pages.
    THtmlFrame(IHtmlFrameHost& host, ILinkServices& services, const std::vector<RHTML>& elements);
    ~THtmlFrame() override;

    TFrameViewer* CurrentView() const;
    const std::vector<TFrameViewer*>& Views() const { return views_; }
    bool ArchiveMode() const;
    void SetArchiveMode(bool on);
    void TrackPageGroup(const std::string& file);
    // Lays the reading screen's view out beside the trees that show now.
    void FitToPanel();
    // The standard window: the current view fills an area of the window, and goes back into its
    // element's place.
    void FillWindow(const QRect& area);
    void RestoreBounds();
    // "html" command: the page group, then the element with that number.
    void OpenHtmlCommand(const std::string& file, int number);
    // The current view's history newest first (index 0 the most recent entry, larger indexes
    // older), as the history popups and "history=" items count it, and the entry shown.
    std::vector<RHistoryEntry> History() const;
    int HistoryPosition() const;
    // The default text attributes every view shows; setting them re-renders the current page.
    const RFontAttr& Attributes() const { return attributes_; }
    void SetAttributes(const RFontAttr& attributes);
    // The page font dialog on the current attributes: OK applies its values to every view,
    // Cancel changes nothing.
    void ChooseFont();

    // IPageFrame
    void OpenInCurrentView(const std::string& file) override;
    void OpenInElement(const std::string& file, int number) override;
    std::string CurrentFile() const override;
    bool CurrentViewShown() const override;
    void ShowForScreen(int screen) override;
    void GoBack() override { Step(true); }
    void GoForward() override { Step(false); }
    void CopyPage() override;  // needs the path input's folder
    void PrintPage() override;
    void ScrollToTop() override;
    void NextChapter() override { Chapter(true); }
    void PrevChapter() override { Chapter(false); }
    void SelectAll() override;
    void SetPicturePrint(bool on) override { picturePrint_ = on; }
    void SetPicturePrintSize(int width, int height) override { pictureWidth_ = width, pictureHeight_ = height; }
    // Previews a file for printing; true once the preview was shown and has closed.
    bool PrintFile(const std::string& file) override;

    // ILinkView
    std::string ExpandLink(const std::string& url) override;
    std::string CurrentFile() override { return static_cast<const THtmlFrame*>(this)->CurrentFile(); }
    bool InArchiveMode() override { return ArchiveMode(); }
    void AddVisited(const std::string& path) override;
    void RefreshVisited() override;
    void PrintPage(const std::string& file) override { PrintFile(file); }
    void CopyListSelection(const std::string& name) override;
    void SyncTreeToPage(const std::string& path) override;

    // IHistoryHost
    void GoToHistoryIndex(int index) override;
    void SetScrollPosition(int pixels) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct RViewState {
        std::vector<std::string> groups;
        bool archiveMode = false;
    };
    int ViewOfScreen(int screen) const;
    void PlaceView(TFrameViewer* view, const RHTML& element, bool fill);
    bool ShowFile(TFrameViewer* view, const std::string& file);
    void Step(bool back);
    void OnHistoryChange(TFrameViewer* view);
    TTreeViews* ChapterTree() const;
    void Chapter(bool forward);
    void RefreshChapterHints();
    void WatchView(TFrameViewer* view);
    void AskObjectUnderPointer(TFrameViewer* view, void (THtmlFrame::*answer)(TFrameViewer*, const RPageObject&));
    void TooltipProbe(TFrameViewer* view);
    void ProbeAnswered(TFrameViewer* view, const RPageObject& object);
    void TooltipTick();
    void TickAnswered(TFrameViewer* view, const RPageObject& object);
    void StopTooltip();
    void ReadAttributes();
    void WriteAttributes() const;
    void ApplyAttributes(TFrameViewer& view) const;
    bool Preview(const std::string& file, bool picture, bool sizeFromPage);

    IHtmlFrameHost& host_;
    std::vector<RHTML> elements_;
    std::vector<TFrameViewer*> views_;
    std::vector<int> viewScreens_;
    std::vector<RViewState> viewStates_;
    int currentGroup_ = -1;
    int currentView_ = -1;
    int currentElement_ = -1;
    int previousScreen_ = -1;
    RFontAttr attributes_;
    QTimer* tooltipTimer_ = nullptr;
    int tooltipTicks_ = 0;
    std::string lastHinted_;
    bool tooltipShown_ = false;
    bool asking_ = false;  // a question about the object under the pointer is on its way
    QElapsedTimer askedAt_;
    TFrameViewer* tooltipView_ = nullptr;
    bool picturePrint_ = false;
    int pictureWidth_ = -1;
    int pictureHeight_ = -1;
    TLinkProtocol links_;
};
