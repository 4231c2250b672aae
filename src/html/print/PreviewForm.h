#pragma once
// TPreviewForm: the print preview window "Предварительный просмотр". It lays the document of a
// print view out on the default printer's paper, shows one or two pages at a view zoom, changes
// the print scale, orientation, page numbers and table backgrounds (laying the pages out again),
// and prints a range of pages through the system print dialog. Created for one preview, shown
// modally, freed after. Window thread only.
#include <QDialog>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "html/print/PrintPages.h"

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPainter;
class QPrinter;
class QScrollArea;
class QToolBar;
class TChannelWindow;
class TPreviewPage;
class TPrintFrameViewer;

// What the preview asks of the program around it.
struct RPrintHost {
    // Shows the skinned message dialog's page; false when there is no skinned dialog.
    std::function<bool(int page)> showMessagePage;
    std::function<void(const std::string& topic)> showHelpTopic;
    // Tells the reader that the pages could not be made ready for printing.
    std::function<void(const std::string& text)> showMessage;
    // Draws the header of a printed page (1-based) on a canvas pageWidth printer pixels wide.
    std::function<void(QPainter&, int page, int pageWidth)> printHeader;
};

class TPreviewForm : public QDialog {
public:
    enum EButton {
        kPrint,
        kOrientation,
        kFirst,
        kPrevious,
        kNext,
        kLast,
        kGoTo,
        kFitPage,
        kFitWidth,
        kRestoreScale,
        kPrintZoom,
        kViewZoom,
        kHand,
        kOnePage,
        kTwoPages,
        kHelp,
        kClose,
        kButtonCount
    };
    enum ETool { kViewZoomTool, kPrintZoomTool, kHandTool };
    enum EStatusPanel { kPagePanel, kZoomPanel, kScalePanel, kHintPanel };

    TPreviewForm(TPrintFrameViewer& viewer, RPrintHost host, QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // Opens a preview for the viewer's document and shows it modally until it closes; false
    // when it could not open (no usable printer, pagination failed or cancelled).
    static bool ShowFor(TPrintFrameViewer& viewer, bool picture, int width, int height, RPrintHost host, QWidget* parent);

    // Gets the document's pages ready: printer checks with their messages, the picture's fit,
    // the first pagination. False when the preview must not be shown.
    bool Open(bool picture, int pictureWidth, int pictureHeight);

    int CurrentPage() const { return current_; }
    int PageCount() const { return pages_.Count(); }
    const TPrintPages& Pages() const { return pages_; }
    double Zoom() const { return zoom_; }
    double PrintScale() const { return printScale_; }
    bool Backgrounds() const { return backgrounds_; }
    bool TwoPages() const;
    ETool Tool() const { return tool_; }
    QAbstractButton* Button(EButton button) const { return buttons_[button]; }
    QComboBox* ZoomBox() const { return zoomBox_; }
    QString StatusText(EStatusPanel panel) const;
    TPreviewPage* PagePanel(int index) const { return panels_[size_t(index)]; }
    QMenu* ContextMenu() const { return menu_; }

    void GoToPage(int index);
    void GoToPageDialog();
    void Print();
    void ToggleOrientation();
    void SetPageNumbers(bool on);
    void SetBackgrounds(bool on);
    void SetCaptions(bool on);
    void RestoreScale();
    void SetTool(ETool tool);
    void SetZoomItem(int item);
    // A press of the page's mouse button at a point of a page panel, as the tools answer it.
    void PagePress(Qt::MouseButton button, QPoint point, int panel);

protected:
    // The system print dialog on printer, limited to pages 1 … count; false when cancelled,
    // else the range chosen (1-based, inclusive).
    virtual bool AskPrintRange(QPrinter& printer, int count, int& from, int& to);
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildToolBar();
    QAbstractButton* AddButton(EButton button, const char* caption, const char* hint, int icon);
    void BuildZoomBox();
    void BuildMenu();
    void BuildStatusBar(QWidget* bar);
    void ConnectButtons();
    void ConnectPanel(TPreviewPage* panel, int index);
    void TellWiringViewer();
    void FitPicture(int width, int height);
    // Lays the pages out with this scale and backgrounds; a cancelled or failed layout keeps the
    // pages shown and the settings they were laid out with (the menu's check mark too).
    bool Repaginate(double scale, bool backgrounds);
    void LayoutPages();
    void PlacePanels(QSize pageSize, bool two);
    void UpdateButtons();
    void UpdateStatus();
    void SetCursorShape(const char* name);
    void Drag(QPoint globalPos);

    TPrintFrameViewer& viewer_;
    RPrintHost host_;
    TPrintPages pages_;
    std::unique_ptr<TChannelWindow> channel_;
    int current_ = 0;
    double zoom_ = 1.0;
    double printScale_ = 1.0;
    double initialScale_ = 1.0;
    bool backgrounds_ = true;
    QAction* backgroundsItem_ = nullptr;
    ETool tool_ = kViewZoomTool;
    bool dragging_ = false;
    QPoint dragAnchor_;
    std::array<QAbstractButton*, kButtonCount> buttons_{};
    QToolBar* toolBar_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* container_ = nullptr;
    std::array<TPreviewPage*, 2> panels_{};
    std::array<QLabel*, 4> status_{};
    QMenu* menu_ = nullptr;
    QAction* captions_ = nullptr;
};
