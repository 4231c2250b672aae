#pragma once
// TTreeViews: a contents tree beside the page view on the background panel. It is read once
// from a tree description file of the bundle; choosing an item opens its page, other
// navigation moves its focus to the page shown, and it can be switched, collapsed out of the
// way and searched by caption. Links and captions are CP1251; links are kept as full paths.
#include <QRect>
#include <QTreeWidget>

#include <optional>
#include <string>

class TReadBin;
class QScrollBar;

class TTreeViews;

// The tree that follows the page shown and steps through chapters: the first tree if it is
// visible, else the second if it is visible, else the first if it exists, else the second.
TTreeViews* ChooseTree(TTreeViews* first, TTreeViews* second);

// What a tree needs of the window: the page frame it opens its pages in and follows, and the
// popups and hover look a press or a move on it ends.
class ITreeHost {
public:
    virtual ~ITreeHost() = default;
    virtual void OpenTreePage(const std::string& path) = 0;
    virtual std::string CurrentPage() const = 0;  // the page the current view shows
    virtual void ClosePopup() = 0;
    virtual void PointerLeftSkin() = 0;
};

class TTreeViews : public QTreeWidget {
public:
    // Created hidden on the background panel, at its left edge, 165 pixels wide.
    TTreeViews(QWidget* panel, ITreeHost& host);

    // One item per line of the description file (not lower-cased): leading TABs give the
    // depth, the text before the first ";" the link, the text up to the next ";" the caption.
    // A link holding "<cd>" starts at the disc root; one with a protocol (":") is kept; any
    // other is relative to the program folder; paths are spelled as page paths are. False
    // (empty tree) when the file is missing.
    bool CreateTree(const TReadBin& bundle, const std::string& fileName);

    void SetPageView(QWidget* view) { pageView_ = view; }
    void SetSplitter(QWidget* splitter) { splitter_ = splitter; }

    // Opens the link of the last focused item unless that page is already shown.
    void OpenFocusedItem();
    // Focuses and opens the next item after the focused one whose caption contains text
    // (case-insensitive), wrapping to the first; false when none does.
    bool FindInTree(const std::string& text);
    // Focuses the first item whose link is the given full path ("#" part ignored); empty
    // means the current page.
    void SyncTreeToPage(const std::string& fileOrEmpty);
    // The screen rule: the reading screen (1) shows the panel and the tree, the start screen
    // (0) hides them; then the tree moves to the page given with the screen command.
    void ShowTreeForScreen(int screen);
    // "offtree" (true) / "ontree" (false).
    void CollapseTree(bool collapse);
    void SetScreenPage(const std::string& page) { screenPage_ = page; }
    // "tree1"/"tree2": show or hide this tree; a collapsed tree only records the choice.
    void ShowSwitched(bool show);

    bool Collapsed() const { return collapsed_; }
    bool SwitchedAway() const { return switchedAway_; }
    const std::string& FocusedLink() const { return focusedLink_; }
    // The page view's bounds saved at the first collapse, shared by all trees.
    static std::optional<QRect> SavedPageRect() { return savedPageRect_; }

    // Chapter navigation.
    QTreeWidgetItem* FocusedItem() const { return currentItem(); }
    // The next (previous) item in display order whose trimmed link is not empty and differs
    // from the focused item's; nullptr at the end or without a focused item.
    QTreeWidgetItem* NextChapterItem(bool forward) const;
    static std::string LinkOf(const QTreeWidgetItem* item);
    static std::string CaptionOf(const QTreeWidgetItem* item);
    // Selects the item, scrolls it into view, then its top-level ancestor.
    void FocusItem(QTreeWidgetItem* item);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void PlaceAtPanelEdge();
    void PlaceLeftBar();
    void OpenItem(QTreeWidgetItem* item);
    void ShowPanel(bool show);

    QWidget* panel_;
    QWidget* splitter_ = nullptr;
    ITreeHost& host_;
    QWidget* pageView_ = nullptr;
    QScrollBar* leftBar_ = nullptr;
    std::string focusedLink_;
    std::string screenPage_;
    bool collapsed_ = false;
    bool switchedAway_ = false;
    static inline std::optional<QRect> savedPageRect_;
};
