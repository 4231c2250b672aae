#include "html/print/PreviewPage.h"

#include <QMouseEvent>
#include <QPainter>

#include "html/print/PrintPages.h"

namespace {

constexpr int kMaxPictureSide = 4000;

}  // namespace

TPreviewPage::TPreviewPage(const TPrintPages& pages, QWidget* parent) : QWidget(parent), pages_(pages) {
    setMouseTracking(true);
    const QString hint = QString::fromUtf8("Просмотр страницы. Используйте правую/левую кнопку мыши для уменьшения/увеличения.");
    setToolTip(hint);
    setStatusTip(hint);
}

void TPreviewPage::SetPage(int index) {
    if (index == page_) return;
    page_ = index;
    Invalidate();
}

void TPreviewPage::Invalidate() {
    picture_ = QImage();
    update();
}

void TPreviewPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (page_ < 0) return;
    // Made once per page and size; at high zooms a smaller picture is stretched, so a page at
    // 20 times its size does not take gigabytes.
    QSize pixels = size() * devicePixelRatioF();
    if (pixels.width() > kMaxPictureSide || pixels.height() > kMaxPictureSide)
        pixels.scale(kMaxPictureSide, kMaxPictureSide, Qt::KeepAspectRatio);
    if (picture_.size() != pixels) picture_ = pages_.PagePicture(page_, pixels);
    painter.drawImage(rect(), picture_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPreviewPage::mousePressEvent(QMouseEvent* event) {
    if (OnMousePress) OnMousePress(event);
}

void TPreviewPage::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event);
}

void TPreviewPage::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseRelease) OnMouseRelease(event);
}
