// The preview's layout: the view zoom of the zoom box, the page panels in the scroll box, the
// buttons that depend on the page shown, the status panels and the toolbar captions.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

#include "html/print/PreviewForm.h"
#include "html/print/PreviewPage.h"

namespace {

constexpr int kPageGap = 20;    // between the two pages, and around the pages
constexpr int kPageInset = 10;  // a page larger than the box starts this far from its edge

// Centred in the room, or kPageInset from its start when it does not fit.
int Place(int room, int size) { return size + kPageGap <= room ? (room - size) / 2 : kPageInset; }

QString Percent(double factor) { return QLocale().toString(factor * 100, 'f', 0) + "%"; }

}  // namespace

bool TPreviewForm::TwoPages() const { return buttons_[kTwoPages]->isChecked(); }

void TPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutPages();
}

void TPreviewForm::SetZoomItem(int item) {
    zoomBox_->setCurrentIndex(item);
    LayoutPages();
}

void TPreviewForm::LayoutPages() {
    if (!buttons_[kOnePage]->isChecked() && !buttons_[kTwoPages]->isChecked()) buttons_[kOnePage]->setChecked(true);
    if (zoomBox_->currentIndex() < 0) zoomBox_->setCurrentIndex(PrintGeometry::kWholePage);
    const int item = zoomBox_->currentIndex();
    // The fit items show one page.
    if (item == PrintGeometry::kWholePage || item == PrintGeometry::kPageWidth) {
        buttons_[kTwoPages]->setChecked(false);
        buttons_[kOnePage]->setChecked(true);
    }
    if (buttons_[kOnePage]->isChecked()) {
        buttons_[kFitPage]->setChecked(item == PrintGeometry::kWholePage);
        buttons_[kFitWidth]->setChecked(item == PrintGeometry::kPageWidth);
    }
    const double dpi = logicalDpiX();
    zoom_ = PrintGeometry::ZoomForItem(item, scrollBox_->viewport()->size(), dpi, pages_.PageInches(), zoom_);
    const QSizeF inches = pages_.PageInches();
    PlacePanels(QSize(qRound(dpi * zoom_ * inches.width()), qRound(dpi * zoom_ * inches.height())), TwoPages());
    UpdateStatus();
}

void TPreviewForm::PlacePanels(QSize pageSize, bool two) {
    const QSize room = scrollBox_->viewport()->size();
    const int pagesWidth = two ? 2 * pageSize.width() + kPageGap : pageSize.width();
    container_->resize(std::max(room.width() - 1, pagesWidth + kPageGap),
                       std::max(room.height() - 1, pageSize.height() + kPageGap));
    const int left = Place(container_->width(), pagesWidth), top = Place(container_->height(), pageSize.height());
    panels_[0]->setGeometry(QRect(QPoint(left, top), pageSize));
    panels_[1]->setGeometry(QRect(QPoint(left + pageSize.width() + kPageGap, top), pageSize));
    panels_[0]->SetPage(current_);
    const bool second = two && current_ + 1 < pages_.Count();
    panels_[1]->SetPage(second ? current_ + 1 : -1);
    panels_[1]->setVisible(two);
}

void TPreviewForm::GoToPage(int index) {
    current_ = std::clamp(index, 0, std::max(0, pages_.Count() - 1));
    UpdateButtons();
    LayoutPages();
}

void TPreviewForm::UpdateButtons() {
    const int count = pages_.Count();
    const bool notFirst = current_ > 0, notLast = current_ + 1 < count;
    buttons_[kFirst]->setEnabled(notFirst);
    buttons_[kPrevious]->setEnabled(notFirst);
    buttons_[kNext]->setEnabled(notLast);
    buttons_[kLast]->setEnabled(notLast);
    buttons_[kGoTo]->setEnabled(count > 1);
    buttons_[kTwoPages]->setEnabled(count > 1);
    if (count <= 1) {
        buttons_[kTwoPages]->setChecked(false);
        buttons_[kOnePage]->setChecked(true);
    }
}

void TPreviewForm::UpdateStatus() {
    status_[kPagePanel]->setText(QString::fromUtf8("Страница %1 из %2").arg(current_ + 1).arg(pages_.Count()));
    status_[kZoomPanel]->setText(QString::fromUtf8(" Масштаб просмотра: ") + Percent(zoom_));
    status_[kScalePanel]->setText(QString::fromUtf8(" Масштаб печати: ") + Percent(printScale_));
}

void TPreviewForm::SetCaptions(bool on) {
    for (QAbstractButton* button : buttons_) {
        auto* tool = static_cast<QToolButton*>(button);
        tool->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        if (on) tool->setMinimumSize(0, 0), tool->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        else tool->setFixedSize(23, 22);
    }
    if (on) buttons_[kOrientation]->setFixedWidth(125);
    // Minimum size as width × height: 250 × 300 bare, 600 × 300 with captions.
    setMinimumSize(on ? 600 : 250, 300);
}
