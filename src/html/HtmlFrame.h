#pragma once
// THtmlFrame: the owner of every page view. It gives each screen that has "_html" elements one
// page view, shows the view of the current screen, opens pages on command, keeps the skin's
// switches in step with back and forward, runs the page links' own protocol, drives chapter
// navigation in the contents trees and keeps the default text attributes. Window thread only.
#include <QObject>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "html/Favorites.h"
#include "html/LinkProtocol.h"
#include "html/PageFrameApi.h"
#include "skin/Elements.h"

class QTimer;
class QWidget;
class TFrameViewer;
class TTreeViews;

// The five default text attributes of page views (colours red + 256 green + 65536 blue).
struct RFontAttr {
    std::string name = "Arial";
    uint32_t color = 0;
    int32_t size = 8;
    uint32_t hotSpotColor = 13158;
    uint32_t background = 16777215;
};

// What the frame needs of the window it lives on.
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

class THtmlFrame : public QObject, public IPageFrame, public ILinkHost, public IHistoryHost {
    Q_OBJECT
public:
    THtmlFrame(IHtmlFrameHost& host, const std::vector<RHTML>& elements);
    ~THtmlFrame() override;

    TFrameViewer* CurrentView() const;
    const std::vector<TFrameViewer*>& Views() const { return views_; }
    bool ArchiveMode() const;
    void SetArchiveMode(bool on);
    THtmlFavorite& Favorites() { return favorites_; }
    void TrackPageGroup(const std::string& file);
    // Lays the reading screen's view out beside the trees that show now.
    void FitToPanel();
    // "html" command: the page group, then the element with that number.
    void OpenHtmlCommand(const std::string& file, int number);

    // IPageFrame
    void OpenInCurrentView(const std::string& file) override;
    void OpenInElement(const std::string& file, int number) override;
    std::string CurrentFile() const override;
    void ShowForScreen(int screen) override;
    void GoBack() override { Step(true); }
    void GoForward() override { Step(false); }
    void CopyPage() override;  // needs the path input's folder
    void PrintPage() override {}
    void ScrollToTop() override;
    void NextChapter() override { Chapter(true); }
    void PrevChapter() override { Chapter(false); }
    void SelectAll() override;
    void SetPicturePrint(bool on) override { picturePrint_ = on; }
    void SetPicturePrintSize(int width, int height) override { pictureWidth_ = width, pictureHeight_ = height; }
    void PrintFile(const std::string&) override {}

    // ILinkHost
    std::string ExpandLink(const std::string& url) override;
    std::string CurrentFile() override { return static_cast<const THtmlFrame*>(this)->CurrentFile(); }
    bool InArchiveMode() override { return ArchiveMode(); }
    void AddVisited(const std::string& path) override;
    void RefreshVisited() override;
    void PrintPage(const std::string&) override {}
    void CopyListSelection(const std::string& name) override;
    void SyncTreeToPage(const std::string& path) override;
    void ExecuteCommandWithoutSound(const std::string& command) override { host_.RunCommandWithoutSound(command); }
    std::string PathInputFolder() override { return host_.PathInputFolder(); }
    bool HasArchiveBrowser() override { return false; }
    void ArchiveOpenEntry(const std::string&) override {}
    void ArchiveOpen(const std::string&, const std::string&) override {}
    bool HasSoundPlayer() override { return false; }
    void PlayLinkSound(const std::string&) override {}
    bool SoftwareRecord(const std::string& name, std::string& instdir, std::string& exename) override;
    bool FileExists(const std::string& path) override;
    bool CopyFile(const std::string& from, const std::string& to) override;
    std::optional<std::string> ChooseZipTarget(const std::string& initialFolder, const std::string& defaultName,
                                               const std::string& filter) override;
    void ShellOpen(const std::string& pathOrUrl) override;
    void StartProgram(const std::string& path) override;
    void SetCurrentFolder(const std::string& folder) override;
    bool QueryPictureWindows(const std::string& path) override;
    void StartPictureInstance(const std::string& path) override;

    // IHistoryHost
    void GoToHistoryIndex(int index) override;
    void SetScrollPosition(int pixels) override;

    // Picture queries are answered through the window's own channel.
    std::function<bool(const std::string&)> PictureQuery;

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
    void TooltipProbe(TFrameViewer* view);
    void TooltipTick();
    void StopTooltip();
    void ReadAttributes();
    void WriteAttributes() const;

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
    TFrameViewer* tooltipView_ = nullptr;
    bool picturePrint_ = false;
    int pictureWidth_ = -1;
    int pictureHeight_ = -1;
    TLinkProtocol links_;
    THtmlFavorite favorites_;
};
