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

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "rules/Elements.h"

class QWidget;
class TFrameViewer;
class TTreeViews;

struct RFindHost {
    QWidget* boxParent = nullptr;  // the search dialog, or the main window in thesaurus mode
    bool thesaurusMode = false;
    std::function<int()> currentScreen;
    std::function<TFrameViewer*()> currentView;    // null without a page view
    std::function<TTreeViews*()> contentsTree;     // the tree shown, for contents mode
    std::function<void(const std::string&)> showStatus;
    std::function<void()> clearStatus;
    std::function<void(const std::string&)> warn;  // index files that cannot be read
    std::function<void()> resetBar;
    std::function<void()> stepBar;
    std::function<int()> barWidth;
    std::function<void(bool stopped)> stoppedChanged;  // the search button's hint follows
    std::function<void()> resultsChanged;              // the dialog shows the result list again
    std::function<void()> scanEnded;                   // a close the dialog held back may go now
    std::function<void(const std::string&)> enterCommand;  // Enter in the first box
    std::function<void()> pointerOver;                     // the pointer moves over a box
    // Whether a page of the book holds the word (pages read as text, kept for the run).
    std::function<bool(const std::string& file, const std::string& word, bool matchCase)> pageContains;
    // The title a page gives itself (its <title>, CP1251); empty when it has none.
    std::function<std::string(const std::string& file)> pageTitle;
    // Reads the texts of the pages [from, from + count) ahead of the questions about them.
    std::function<void(const TDynamicStringArray& pages, size_t from, size_t count)> preparePages;
    // The book's pages in the pack and on disk, for the scans.
    std::function<TDynamicStringArray()> packPages;
    std::function<TDynamicStringArray()> diskPages;
};

class TFindTxtHtml : public QObject {
public:
    TFindTxtHtml(const std::vector<RFindTxt>& elements, RFindHost host);
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

    RFindHost host_;
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
