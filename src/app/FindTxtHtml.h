#pragma once
// TFindTxtHtml: the full-text find of the book. It owns the find boxes ("_findtxt" elements: in
// the search dialog, or on the main window in the thesaurus window) and runs find-next for the
// word typed in one of them, in one of four ways: the current page, wrapping to its top; on
// through every page of the book; the keyword index, falling back to a scan of the pages with a
// result list; or the contents tree. Pages are scanned as text, and only the page finally opened
// goes to the view. A scan lets pending events run before each page, so it can always be stopped;
// while it runs the program is busy and commands wait. Window thread only.
#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "rules/Elements.h"

class QWidget;
class TFrameViewer;
class TTreeViews;

// What the find needs of the window: the screen, the page view and tree it searches, the status
// line and the scale bar it reports on, the dialog it tells of its state, and the pages it reads.
class IFindHost {
public:
    virtual ~IFindHost() = default;
    virtual int CurrentScreen() const = 0;
    virtual TFrameViewer* CurrentView() const = 0;  // null without a page view
    virtual TTreeViews* ContentsTree() const = 0;   // the tree shown, for contents mode
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ClearStatus() = 0;
    virtual void Warn(const std::string& text) = 0;  // index files that cannot be read
    virtual void ResetBar() = 0;
    virtual void StepBar() = 0;
    virtual int BarWidth() const = 0;
    virtual void StoppedChanged(bool stopped) = 0;  // the search button's hint follows
    virtual void ResultsChanged() = 0;              // the dialog shows the result list again
    virtual void ScanEnded() = 0;                   // a close the dialog held back may go now
    virtual void EnterCommand(const std::string& command) = 0;  // Enter in the first box
    virtual void PointerOverBox() = 0;
    // Whether a page of the book holds the word (pages read as text, kept for the run).
    virtual bool PageContains(const std::string& file, const std::string& word, bool matchCase) = 0;
    // The title a page gives itself (its <title>, CP1251); empty when it has none.
    virtual std::string PageTitle(const std::string& file) = 0;
    // Reads the texts of the pages [from, from + count) ahead of the questions about them.
    virtual void PreparePages(const TDynamicStringArray& pages, size_t from, size_t count) = 0;
    // The book's pages in the pack and on disk, for the scans.
    virtual TDynamicStringArray PackPages() const = 0;
    virtual TDynamicStringArray DiskPages() const = 0;
};

class TFindTxtHtml : public QObject {
public:
    // boxParent: the search dialog, or the main window in thesaurus mode, where Enter in the
    // first box searches at once.
    TFindTxtHtml(const std::vector<RFindTxt>& elements, QWidget* boxParent, bool thesaurusMode, IFindHost& host);
    ~TFindTxtHtml() override;

    void ShowForScreen();
    void SetBoxesHidden(bool hidden);
    std::vector<QWidget*> Boxes() const;
    QLineEdit* Box(int i) const;

    void FindNext(int number);
    // The modes: all pages or the limited set (the main window's "findtxtall" / "findtxtlimit",
    // which also end the index and contents modes), the index, and the contents tree.
    void SetAllPages(bool all);
    void SetIndexMode();
    void SetContentsMode();
    void SetCaseSensitive(bool on) { matchCase_ = on; }
    bool CaseSensitive() const { return matchCase_; }
    // Asks a running scan to stop before its next page.
    void RequestStop() { SetStopped(true); }
    bool Stopped() const { return stopped_; }
    bool Scanning() const { return scanning_; }

    const TDynamicStringArray& ResultFiles() const { return files_; }
    const TDynamicStringArray& ResultTitles() const { return titles_; }
    // Opens result i in the current view and selects the word in it.
    void OpenResult(int index);
    // Enter in a page view acts as Enter in the visible boxes.
    void EnterInBoxes();

private:
    struct RBox {
        QPointer<QLineEdit> edit;
        RFindTxt element;
        TDynamicStringArray candidates;  // the pages a scan goes through, built when first needed
    };
    void BoxTextChanged();
    void ResetScan();
    bool BoxKey(int box, int key);
    void SetStopped(bool stopped);
    void PageFind(RBox& box, const std::string& text);
    TDynamicStringArray AllPages() const;
    void BeginScan();
    void EndScan();
    bool ScanPages(RBox& box, const std::string& text, TFrameViewer* view);
    void IndexFind(RBox& box, const std::string& text);
    void ScanForIndex(RBox& box, const std::string& text);
    void ContentsFind(const std::string& text);
    TDynamicStringArray PackCandidates(const RBox& box) const;
    void PrepareAhead(const TDynamicStringArray& pages, size_t at) const;
    bool ShowHit(TFrameViewer* view, const std::string& file, const std::string& text, bool reuseHistory);

    IFindHost& host_;
    QWidget* boxParent_;
    bool thesaurusMode_;
    std::vector<std::unique_ptr<RBox>> boxes_;
    int position_ = -1;
    int previousScreen_ = -1;
    bool allPages_ = false;
    bool indexMode_ = false;
    bool contentsMode_ = false;
    bool headwordTried_ = false;
    bool stopped_ = true;
    bool scanning_ = false;
    bool matchCase_ = false;
    std::string startPage_;
    TDynamicStringArray files_;
    TDynamicStringArray titles_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
