#pragma once
// TPreviewPage: one page panel of the print preview. It shows the picture of a printed page
// scaled to its size and hands mouse presses, moves and releases to its owner in its own
// coordinates. The picture is made again only when the page or the panel size changes.
#include <QImage>
#include <QWidget>
#include <functional>

class TPrintPages;

class TPreviewPage : public QWidget {
public:
    TPreviewPage(const TPrintPages& pages, QWidget* parent);

    // The page shown (0-based); -1 shows nothing.
    void SetPage(int index);
    int Page() const { return page_; }
    // Forget the picture: the pages were laid out again.
    void Invalidate();

    std::function<void(QMouseEvent*)> OnMousePress;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void(QMouseEvent*)> OnMouseRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const TPrintPages& pages_;
    int page_ = -1;
    QImage picture_;
};
