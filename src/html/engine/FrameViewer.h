#pragma once
// TFrameViewer: one page view of the book. It shows a file of the disc (pack first, then disk)
// in a browser view, keeps its own history of files and titles, colours visited links and
// hands every link the user points at or clicks to its owner before the browser acts on it.
//
// Links reach the owner as Windows paths for book pages ("d:\run\html\a.htm", "#anchor" for a
// jump inside the page shown) and as the URL itself for any other scheme ("http://…",
// "copy:x.zip"); ExpandLink takes either form. Loading is asynchronous: LoadFile and the
// history moves change the current file and history at once and emit HistoryChanged, once per
// navigation; the title comes with the page and emits TitleChanged. Queries that need the page's
// answer wait for it at most PageAnswerWait() (100 ms).
//
// History holds the files shown in the whole view: a link the browser follows there adds an
// entry; a jump to an anchor of the same file and a page changing inside one frame of a
// frameset do not. Moving in history loads the entry's file again at its last scroll position.
// The browser follows only links to book pages: "_blank" ones are shown in this view when the
// owner leaves them, links of other schemes are the owner's alone. The viewer's own scripts run
// in a world of their own (TViewerPage), so the page's scripts cannot speak for the reader.
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "html/engine/PageScripts.h"

class QPageLayout;
class QWebEngineView;
class TViewerPage;

struct RPageObject {
    bool found = false;    // something is under the point
    bool isImage = false;
    QString title;         // the picture's title text (its alt text when it has none)
    std::string source;    // the picture's file
};

struct RDropDownList {
    QString name;
    QStringList items;
    int selected = -1;
};

class TFrameViewer : public QWidget {
    Q_OBJECT
public:
    explicit TFrameViewer(QWidget* parent = nullptr);
    ~TFrameViewer() override;

    // Defaults of pages that do not set their own; they apply from the next load or Reload().
    const std::string& DefFontName() const { return fontName_; }
    void SetDefFontName(const std::string& name) { fontName_ = name; }
    int DefFontSize() const { return fontSize_; }  // points
    void SetDefFontSize(int points) { fontSize_ = points; }
    unsigned DefFontColor() const { return defaults_.fontColor; }  // colours as 0x00BBGGRR
    void SetDefFontColor(unsigned bgr) { defaults_.fontColor = bgr; }
    unsigned DefHotSpotColor() const { return defaults_.hotSpotColor; }
    void SetDefHotSpotColor(unsigned bgr) { defaults_.hotSpotColor = bgr; }
    unsigned DefBackground() const { return defaults_.background; }
    void SetDefBackground(unsigned bgr) { defaults_.background = bgr; }
    unsigned DefOverLinkColor() const { return defaults_.overLinkColor; }
    void SetDefOverLinkColor(unsigned bgr) { defaults_.overLinkColor = bgr; }
    unsigned VisitedColor() const { return defaults_.visitedColor; }
    void SetVisitedColor(unsigned bgr) { defaults_.visitedColor = bgr; }
    int HistoryMaxCount() const { return historyMax_; }
    void SetHistoryMaxCount(int count);
    int VisitedMaxCount() const { return visitedMax_; }
    void SetVisitedMaxCount(int count);

    // Shows a file ("#anchor" allowed). False, and nothing changes, when the file exists
    // neither in the pack nor on disk. A file other than the current one becomes a new history
    // entry after the current one; the same file is shown again without a new entry.
    bool LoadFile(const std::string& winPath);
    std::string CurrentFile() const;  // full Windows path, empty before the first load
    QString Title() const;            // of the current history entry
    bool IsLoading() const { return loading_; }
    void Reload();                    // the current page again, with the defaults as they are now
    // Shows an HTML text rather than a file, with the defaults as they are now; the history
    // does not change. A preview of the defaults uses it.
    void LoadText(const QString& html);

    std::vector<std::string> HistoryFiles() const;
    QStringList HistoryTitles() const;
    int HistoryIndex() const { return index_; }
    void SetHistoryIndex(int index);
    bool CanGoBack() const { return index_ > 0; }
    bool CanGoForward() const { return index_ + 1 < int(history_.size()); }
    void GoBack();
    void GoForward();

    // Visited links: the newest VisitedMaxCount paths (or URLs), lower-cased.
    void AddVisited(const std::string& path);
    const std::vector<std::string>& Visited() const { return visited_; }
    void RefreshVisited();

    // A link as the viewer reports it, or relative to the current document, as a full Windows
    // path (its "#anchor" kept); other schemes come back unchanged.
    std::string ExpandLink(const QString& url) const;

    // Pixels from the top of the current entry's document (in its frame, when a link loaded one).
    int ScrollPosition() const;
    void SetScrollPosition(int y);

    void SelectAll();
    int SelectionLength() const;
    QString SelectionText() const;
    // Puts the selection on the clipboard; refuses more than kMaxCopy characters.
    bool CopySelection(QString* error = nullptr);
    static constexpr int kMaxCopy = 31999;

    // Finds text after the caret (the selection), selects it and scrolls to it; no wrapping:
    // false when nothing follows. Frames of a frameset are searched in order; with a frame
    // name (any case) that the page has, that frame's document alone is searched.
    bool FindText(const QString& text, bool matchCase, const QString& frame = {});
    void SetCaretToTop();
    // A window that floats over the view (the search dialog): while it shows, a hit FindText
    // selects is scrolled out from under it.
    void SetCoveringWindow(QWidget* window) { covering_ = window; }

    std::vector<RDropDownList> DropDownLists();
    // The selected item of the drop-down lists called name (any case); the last one wins.
    std::optional<QString> SelectedItemOf(const QString& name);
    // The same without waiting: done runs when the page answers (never if the page goes first).
    void SelectedItemOf(const QString& name, std::function<void(const std::optional<QString>&)> done);
    // What lies under a point of the viewer: waiting for the page's answer, or without waiting
    // (done runs when the page answers, never if the page goes first).
    RPageObject ObjectAt(QPoint point);
    void ObjectAt(QPoint point, std::function<void(const RPageObject&)> done);
    // The file shown in the frame called frameName (any case); empty when there is none.
    std::string FrameDocument(const QString& frameName);
    // The document the reader looks at: in a frameset, the frame that has the focus, else the
    // biggest one, down to a document that is no frameset; the page itself otherwise. Empty when
    // the page does not answer.
    std::string ActiveDocument();

    // Lets watcher filter the events of this viewer and of the browser's rendering surface
    // inside it, which the browser puts in when it likes: each surface is watched as it arrives.
    void WatchInput(QObject* watcher);
    // Runs a script in the page's main frame: without waiting, or waiting for its value at most
    // PageAnswerWait() (an invalid value when it did not come in time).
    void RunScript(const QString& script);
    QVariant EvaluateScript(const QString& script);
    // Lays the page shown out for printing on pages of layout, backgrounds printed or not, and
    // hands the pages as a PDF to done (empty when the browser failed). Asynchronous.
    void PrintToPdf(const QPageLayout& layout, bool backgrounds, std::function<void(const QByteArray&)> done);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void HotSpotCovered(const QString& url, const QString& target);
    // Emitted for every link followed; set handled to keep the browser from following. byReader
    // tells a reader's own click on a link of a page that may act (a page of the book or an
    // archive listing) from what a page did by itself (a script's click or navigation, a new
    // window, any link of a foreign page); a reader's click is handled while a TReaderAct is
    // under way. Links of other schemes are reported just after the click, and never followed.
    void HotSpotClick(const QString& url, const QString& target, bool byReader, bool& handled);
    void HistoryChanged();
    void TitleChanged();
    // The reader's press and release of the left button changed the selection of a document to
    // this text (empty selections are not told).
    void SelectionMade(const QString& text);
    void LoadFinished(bool ok);

private:
    void KeepSelectionClear();
    // A history entry: the page loaded in the view and, when links were followed inside its
    // frames, the document of each such frame by its place; file is the document shown last.
    struct REntry {
        std::string file;
        std::string top;
        std::map<std::string, std::string> frames;
        std::string activeFrame;  // the place of the frame file is in; "" for the page itself
        QString title;
        int scroll = 0;
    };
    // A link as the page reported it.
    struct RLinkReport {
        QString href;    // the address the browser made of it
        QString target;
        QString raw;     // the address as the page wrote it
        QString document;
        QString frame;   // the place of its frame
        bool byReader = false;  // reported by the viewer's script for the reader's own click
    };

    void ApplyDefaults();
    QString ObjectScript(QPoint point) const;
    QString InActiveWindow(const QString& body) const;
    void Navigate(const std::string& file, const std::string& anchor);
    void PushEntry(const std::string& file);
    void PushEntry(REntry entry);
    void PushFrameEntry(const std::string& frame, const std::string& file);
    void FollowLink(const RLinkReport& link);
    void Follow(const RLinkReport& link);
    std::string BaseDocument() const;
    void ExpectOwnLoad(const QUrl& url);
    void RememberScroll();
    bool SameFile(const std::string& a, const std::string& b) const;
    QString LinkText(const QUrl& url) const;
    QString TargetOf(const QUrl& url) const;
    bool OnLinkClicked(const QUrl& url, bool mainFrame);
    QString RawTextOf(const QUrl& url) const;
    void OnReport(const QString& kind, const QStringList& fields);
    void OnUrlChanged(const QUrl& url);
    void OnTitleChanged(const QString& title);
    void OnLoadFinished(bool ok);
    void OnLinkHovered(const QString& url);
    void OnNewWindow(const QUrl& url);

    TViewerPage* page_ = nullptr;
    QPointer<QObject> watcher_;
    QWebEngineView* view_ = nullptr;
    std::string fontName_ = "Arial";
    int fontSize_ = 12;
    RPageDefaults defaults_;
    int historyMax_ = 10;
    int visitedMax_ = 20;
    std::vector<REntry> history_;
    int index_ = -1;
    std::vector<std::string> visited_;
    bool loading_ = false;
    int pendingScroll_ = -1;  // applied when the page being loaded is ready
    mutable int scrollY_ = 0; // the position last set, read or reported by the browser
    std::map<std::string, std::string> pendingFrames_;  // put back into the page being loaded
    std::deque<QUrl> ownLoads_;  // frames the viewer's scripts load, which the browser reports as links
    QPointer<QWidget> covering_;
    RLinkReport hover_;                                 // the link the script last saw under the pointer
    std::string linkDocument_;  // while a link is handed on: the document it stands in
    QUrl covered_;                                              // link under the pointer
    QString coveredTarget_;
};
