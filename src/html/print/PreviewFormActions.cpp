// What the preview's buttons, keys, menu and mouse do: moving through the pages, the tools on a
// page, laying the pages out again after a change, and printing.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

#include "html/print/GoPageForm.h"
#include "html/print/PreviewForm.h"
#include "html/print/PreviewPage.h"
#include "html/print/PrintJob.h"
#include "html/print/PrinterCheck.h"

void TPreviewForm::ConnectButtons() {
    auto on = [this](EButton button, auto action) { connect(buttons_[button], &QAbstractButton::clicked, this, action); };
    on(kPrint, [this] { Print(); });
    on(kOrientation, [this] { ToggleOrientation(); });
    on(kFirst, [this] { GoToPage(0); });
    on(kPrevious, [this] { GoToPage(current_ - 1); });
    on(kNext, [this] { GoToPage(current_ + 1); });
    on(kLast, [this] { GoToPage(PageCount() - 1); });
    on(kGoTo, [this] { GoToPageDialog(); });
    on(kFitPage, [this] { SetZoomItem(PrintGeometry::kWholePage); });
    on(kFitWidth, [this] { SetZoomItem(PrintGeometry::kPageWidth); });
    on(kRestoreScale, [this] { RestoreScale(); });
    on(kPrintZoom, [this] { SetTool(kPrintZoomTool); });
    on(kViewZoom, [this] { SetTool(kViewZoomTool); });
    on(kHand, [this] { SetTool(kHandTool); });
    on(kOnePage, [this] {
        buttons_[kOnePage]->setChecked(true);
        buttons_[kTwoPages]->setChecked(false);
        LayoutPages();
    });
    on(kTwoPages, [this] {
        buttons_[kTwoPages]->setChecked(true);
        buttons_[kOnePage]->setChecked(false);
        // Two pages side by side are no longer one page fitted to the box.
        if (zoomBox_->currentIndex() <= PrintGeometry::kPageWidth) zoomBox_->setCurrentIndex(PrintGeometry::kManual);
        LayoutPages();
    });
    on(kHelp, [this] {
        if (host_.showHelpTopic) host_.showHelpTopic("Topic18");
    });
    on(kClose, [this] { close(); });
    connect(zoomBox_, &QComboBox::activated, this, [this](int item) { SetZoomItem(item); });
}

void TPreviewForm::ConnectPanel(TPreviewPage* panel, int index) {
    panel->OnMousePress = [this, index](QMouseEvent* event) {
        if (tool_ == kHandTool) {
            dragging_ = true;
            dragAnchor_ = event->globalPosition().toPoint();
            SetCursorShape("HAND_CLOSED");
            return;
        }
        PagePress(event->button(), event->position().toPoint(), index);
    };
    panel->OnMouseMove = [this](QMouseEvent* event) {
        if (dragging_) Drag(event->globalPosition().toPoint());
        else if (tool_ == kHandTool) SetCursorShape("HAND_OPENED");
    };
    panel->OnMouseRelease = [this](QMouseEvent*) {
        dragging_ = false;
        if (tool_ == kHandTool) SetCursorShape("HAND_OPENED");
    };
}

void TPreviewForm::PagePress(Qt::MouseButton button, QPoint point, int panel) {
    const bool left = button == Qt::LeftButton;
    if (!left && button != Qt::RightButton) return;
    if (tool_ == kPrintZoomTool) {
        const double scale = left ? PrintGeometry::PrintScaleUp(printScale_) : PrintGeometry::PrintScaleDown(printScale_);
        if (scale != printScale_) Repaginate(scale, backgrounds_);
        UpdateStatus();
        return;
    }
    if (tool_ != kViewZoomTool) return;
    // The pressed point, as a share of its page, comes to the middle of the box.
    const QWidget* page = panels_[size_t(panel)];
    const QPointF share(double(point.x()) / std::max(1, page->width()), double(point.y()) / std::max(1, page->height()));
    zoom_ = left ? PrintGeometry::ZoomIn(zoom_) : PrintGeometry::ZoomOut(zoom_);
    zoomBox_->setCurrentIndex(PrintGeometry::kManual);
    LayoutPages();
    const QPoint at = page->pos() + QPoint(qRound(share.x() * page->width()), qRound(share.y() * page->height()));
    scrollBox_->horizontalScrollBar()->setValue(at.x() - scrollBox_->viewport()->width() / 2);
    scrollBox_->verticalScrollBar()->setValue(at.y() - scrollBox_->viewport()->height() / 2);
    SetCursorShape(left ? "ZOOM_IN" : "ZOOM_OUT");
}

void TPreviewForm::Drag(QPoint globalPos) {
    const QPoint moved = globalPos - dragAnchor_;
    dragAnchor_ = globalPos;
    scrollBox_->horizontalScrollBar()->setValue(scrollBox_->horizontalScrollBar()->value() - moved.x());
    scrollBox_->verticalScrollBar()->setValue(scrollBox_->verticalScrollBar()->value() - moved.y());
}

void TPreviewForm::SetTool(ETool tool) {
    tool_ = tool;
    buttons_[kViewZoom]->setChecked(tool == kViewZoomTool);
    buttons_[kPrintZoom]->setChecked(tool == kPrintZoomTool);
    buttons_[kHand]->setChecked(tool == kHandTool);
    SetCursorShape(tool == kHandTool ? "HAND_OPENED" : "ZOOM");
}

// The preview's cursors by their names, drawn with the system's shapes.
void TPreviewForm::SetCursorShape(const char* name) {
    const std::string shape = name;
    const Qt::CursorShape cursor = shape == "HAND_OPENED"   ? Qt::OpenHandCursor
                                   : shape == "HAND_CLOSED" ? Qt::ClosedHandCursor
                                   : shape == "ZOOM"        ? Qt::CrossCursor
                                                            : Qt::PointingHandCursor;
    for (TPreviewPage* panel : panels_) panel->setCursor(cursor);
}

void TPreviewForm::GoToPageDialog() {
    if (PageCount() < 2) return;
    TGoPageForm form(current_ + 1, PageCount(), this);
    if (form.exec() == QDialog::Accepted) GoToPage(form.Page() - 1);
}

bool TPreviewForm::Repaginate(double scale, bool backgrounds) {
    const bool done = PrintJob::Paginate(this, viewer_, pages_, scale, backgrounds) == PrintJob::EResult::kDone;
    if (done) {
        printScale_ = scale;
        backgrounds_ = backgrounds;
    }
    if (backgroundsItem_ && backgroundsItem_->isChecked() != backgrounds_) {
        const QSignalBlocker quiet(backgroundsItem_);
        backgroundsItem_->setChecked(backgrounds_);
    }
    if (!done) return false;
    for (TPreviewPage* panel : panels_) panel->Invalidate();
    GoToPage(current_);  // clamped to the new last page
    return true;
}

void TPreviewForm::ToggleOrientation() {
    pages_.SetLandscape(!pages_.Landscape());
    if (!Repaginate(printScale_, backgrounds_)) pages_.SetLandscape(!pages_.Landscape());
    buttons_[kOrientation]->setChecked(pages_.Landscape());
    LayoutPages();
}

// The header is drawn on the pages as they are shown or printed, so the pages stay as they are.
void TPreviewForm::SetPageNumbers(bool on) {
    pages_.SetPageNumbers(on);
    for (TPreviewPage* panel : panels_) panel->Invalidate();
}

void TPreviewForm::SetBackgrounds(bool on) { Repaginate(printScale_, on); }

void TPreviewForm::RestoreScale() {
    Repaginate(initialScale_, backgrounds_);
    UpdateStatus();
}

bool TPreviewForm::AskPrintRange(QPrinter& printer, int count, int& from, int& to) {
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, count);
    printer.setFromTo(1, count);
    if (dialog.exec() != QDialog::Accepted) return false;
    // All pages: from the dialog's start page to the last.
    from = std::clamp(printer.fromPage() > 0 ? printer.fromPage() : 1, 1, count);
    to = printer.printRange() == QPrinter::PageRange && printer.toPage() > 0 ? std::clamp(printer.toPage(), from, count) : count;
    return true;
}

void TPreviewForm::Print() {
    if (CheckPrinter().state != EPrinterState::kReady) return ShowPrinterUnavailable(this);
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(pages_.EngineLayout().pageSize());
    printer.setPageOrientation(pages_.Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(windowTitle());
    int from = 1, to = PageCount();
    if (!AskPrintRange(printer, PageCount(), from, to)) return;
    if (PrintJob::PrintRange(this, pages_, printer, from, to) == PrintJob::EResult::kFailed) ShowPrinterUnavailable(this);
}

void TPreviewForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    QScrollBar* across = scrollBox_->horizontalScrollBar();
    QScrollBar* down = scrollBox_->verticalScrollBar();
    if (key == Qt::Key_Home) GoToPage(0);
    else if (key == Qt::Key_PageUp) GoToPage(current_ - 1);
    else if (key == Qt::Key_PageDown) GoToPage(current_ + 1);
    else if (key == Qt::Key_End) GoToPage(PageCount() - 1);
    else if (key == Qt::Key_Left || key == Qt::Key_Right)
        across->setValue(across->value() + (key == Qt::Key_Left ? -1 : 1) * across->singleStep());
    else if (key == Qt::Key_Up || key == Qt::Key_Down)
        down->setValue(down->value() + (key == Qt::Key_Up ? -1 : 1) * down->singleStep());
    else if (key == Qt::Key_Escape) close();
    else if (key == Qt::Key_P && event->modifiers() == Qt::ControlModifier) Print();
    else if (key == Qt::Key_F1 && host_.showHelpTopic) host_.showHelpTopic("Topic18");
    else return QDialog::keyPressEvent(event);
    event->accept();
}
